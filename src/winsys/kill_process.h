#pragma once
// Ending a program that does not stop, by the name of its executable.

#include <string_view>

#include "platform/processes.h"

namespace tolva::winsys {

// KillProcessByName: terminates, with exit code 0, every process whose executable has that file
// name (compared without regard to case; ".exe" is added to a name without extension). With the
// debug privilege enabled first, so that services of other accounts can be read and ended.
// Whether the last termination tried succeeded; false when none matched or the processes cannot
// be listed.
bool KillProcessByName(platform::Processes& processes, std::string_view executable);

}  // namespace tolva::winsys

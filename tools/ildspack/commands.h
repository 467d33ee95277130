#pragma once
// The ildspack commands. Each prints one line per failure on standard error, naming the archive
// and, where there is one, the entry, and returns the process exit status.

#include "ildspack/command_line.h"
#include "ildspack/native.h"

namespace tolva::ildspack {

inline constexpr int kExitOk = 0;
inline constexpr int kExitNeedsPassword = 1;
inline constexpr int kExitDamaged = 2;
inline constexpr int kExitUnsafeName = 3;
inline constexpr int kExitUnreadable =
    4;  // archive missing, unreadable or truncated; folder not creatable
inline constexpr int kExitUsage = 64;

int RunCommand(NativeFiles& native, const Invocation& invocation);

}  // namespace tolva::ildspack

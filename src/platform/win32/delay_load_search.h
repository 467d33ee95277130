#pragma once
// System DLLs outside the KnownDLLs are linked for loading at their first call (delay loading), so
// that none stands in a program's import table, where Windows would look for it beside the
// program first.

namespace tolva::platform::win32 {

// From now on every delay-loaded DLL of the process comes from the system folder alone: never from
// the program's folder (a downloads folder may hold planted DLLs) nor the current folder. Call
// first thing in the program entry.
void LoadDelayedLibrariesFromSystemFolder();

}  // namespace tolva::platform::win32

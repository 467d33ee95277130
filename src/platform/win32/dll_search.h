#pragma once
// Where the DLLs of setup.exe come from. It runs from a downloads folder, which may hold planted
// DLLs, so nothing is taken from the program's own folder or the current folder: system DLLs come
// from the system folder, the suite's libraries are loaded by full path with their own folder
// searched for what they need. System DLLs outside the KnownDLLs are linked for loading at their
// first call (delay loading), so that none stands in a program's import table either.

#include <windows.h>

namespace tolva::platform::win32 {

// From now on a DLL named without a path, every DLL a loaded one needs and every delay-loaded DLL
// come from the system folder alone. Call first thing in the program entry. Windows 7 without
// KB2533623 lacks the default search setting; there the current folder is still left out and the
// delay-loaded DLLs still come from the system folder.
void RestrictDllSearchToSystemFolder();

// The LoadLibraryEx flags for a library given by its full path: the library's own folder, then
// the system folder, are searched for the DLLs it needs.
DWORD FullPathLoadFlags();

// A DLL of that bare name from the system folder alone; nullptr when it has none.
HMODULE LoadFromSystemFolder(const wchar_t* name);

}  // namespace tolva::platform::win32

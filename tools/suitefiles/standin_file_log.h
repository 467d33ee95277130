#pragma once
// The record a stand-in keeps of what happened to it: lines appended to
// logs\standin-<name>.log in the folder of the stand-in's own file.

#include <windows.h>

// The full path of the module's file (nullptr: the running program).
void ModuleFile(HMODULE module, wchar_t* path, DWORD capacity);

// Appends the line and CR LF to the log of the module's file, named after its base name without
// the extension; creates the logs folder when needed. Failures are ignored.
void AppendToStandinLog(HMODULE module, const wchar_t* line);

// A stand-in for one of the libraries the suite ships (libeay32.dll, libssl32.dll, regex.dll,
// sqlite3.dll, libiconv.dll, aspell-15.dll): when a process loads it, it records "loaded by" and
// that process's program file in its log.

#include <windows.h>

#include <wchar.h>

#include "standin_file_log.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t program[MAX_PATH];
        ModuleFile(nullptr, program, MAX_PATH);
        wchar_t line[MAX_PATH + 16];
        swprintf(line, MAX_PATH + 16, L"loaded by %ls", program);
        AppendToStandinLog(instance, line);
    }
    return TRUE;
}

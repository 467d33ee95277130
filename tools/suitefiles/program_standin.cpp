// A stand-in for one of the suite's helper programs (config.exe, dnsquery.exe, tool.exe,
// sendmail.exe) and for the anti-virus engine's installer avastoem.exe: it records "ran:" and its
// command line in its log, and ends with 0.

#include <windows.h>

#include <wchar.h>

#include "standin_file_log.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t line[2048];
    swprintf(line, 2048, L"ran: %ls", ::GetCommandLineW());
    AppendToStandinLog(nullptr, line);
    return 0;
}

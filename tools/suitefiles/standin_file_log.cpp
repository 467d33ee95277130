#include "standin_file_log.h"

#include <wchar.h>

void ModuleFile(HMODULE module, wchar_t* path, DWORD capacity) {
    const DWORD length = ::GetModuleFileNameW(module, path, capacity);
    path[length < capacity ? length : capacity - 1] = L'\0';
}

void AppendToStandinLog(HMODULE module, const wchar_t* line) {
    wchar_t own[MAX_PATH];
    ModuleFile(module, own, MAX_PATH);
    wchar_t* name = wcsrchr(own, L'\\');
    if (name == nullptr) {
        return;
    }
    *name++ = L'\0';
    if (wchar_t* extension = wcsrchr(name, L'.')) {
        *extension = L'\0';
    }
    wchar_t path[MAX_PATH * 2];
    swprintf(path, MAX_PATH * 2, L"%ls\\logs", own);
    ::CreateDirectoryW(path, nullptr);
    swprintf(path, MAX_PATH * 2, L"%ls\\logs\\standin-%ls.log", own, name);

    char text[MAX_PATH * 4];
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, line, -1, text, sizeof text - 2, nullptr, nullptr);
    if (length <= 0) {
        return;
    }
    text[length - 1] = '\r';
    text[length] = '\n';
    const HANDLE file = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    ::WriteFile(file, text, static_cast<DWORD>(length + 1), &written, nullptr);
    ::CloseHandle(file);
}

#include "standin_log.h"

#include <cstdio>

namespace tolva::standins {

std::wstring ModuleFolder(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

StandinLog::StandinLog(HMODULE module, const std::wstring& name) {
    std::wstring folder = ModuleFolder(module) + L"logs";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    path_ = folder + L"\\standin-" + name + L".log";
}

void StandinLog::Write(const std::string& text) const {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    std::string line = stamp + text + "\r\n";
    // Appending writes land whole at the end, whoever else writes.
    HANDLE file = ::CreateFileW(path_.c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace tolva::standins

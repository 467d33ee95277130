#include "platform/win32/delay_load_search.h"

#include <windows.h>

#include <delayimp.h>

#include <string>

namespace tolva::platform::win32 {

namespace {

// LoadLibraryEx's LOAD_LIBRARY_SEARCH_SYSTEM32, which Windows 7 knows only with KB2533623.
constexpr DWORD kSearchSystemFolder = 0x00000800;

HMODULE LoadFromSystemFolder(const char* name) {
    if (HMODULE module = ::LoadLibraryExA(name, nullptr, kSearchSystemFolder)) {
        return module;
    }
    if (::GetLastError() != ERROR_INVALID_PARAMETER) {
        return nullptr;
    }
    // Without the flag: the DLL of that name in the system folder, by its full path.
    char folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    const std::string path = std::string(folder, length) + "\\" + name;
    return ::LoadLibraryExA(path.c_str(), nullptr, 0);
}

FARPROC WINAPI DelayLoadNotification(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary) {
        return nullptr;
    }
    // A null result would let the helper search the usual way; a DLL the system folder lacks
    // fails to load instead.
    HMODULE module = LoadFromSystemFolder(info->szDll);
    if (module == nullptr) {
        ::RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND), 0, 0, nullptr);
    }
    return reinterpret_cast<FARPROC>(module);
}

}  // namespace

void LoadDelayedLibrariesFromSystemFolder() {
    __pfnDliNotifyHook2 = DelayLoadNotification;
}

}  // namespace tolva::platform::win32

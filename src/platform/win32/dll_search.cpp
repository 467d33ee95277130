#include "platform/win32/dll_search.h"

#include <delayimp.h>

#include <string>

#include "platform/win32/procedure_address.h"

namespace tolva::platform::win32 {

namespace {

// LoadLibraryEx's and SetDefaultDllDirectories' search flags, which Windows 7 knows only with
// KB2533623.
constexpr DWORD kSearchDllLoadFolder = 0x00000100;
constexpr DWORD kSearchSystemFolder = 0x00000800;

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

SetDefaultDllDirectoriesFn DefaultSearchSetter() {
    return ProcedureAddress<SetDefaultDllDirectoriesFn>(::GetModuleHandleW(L"kernel32.dll"),
                                                        "SetDefaultDllDirectories");
}

// Whether LoadLibraryEx takes the search flags.
bool SearchFlagsKnown() {
    static const bool known = DefaultSearchSetter() != nullptr;
    return known;
}

FARPROC WINAPI DelayLoadNotification(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary) {
        return nullptr;
    }
    const std::string narrow(info->szDll);
    const std::wstring name(narrow.begin(), narrow.end());
    // A null result would let the helper search the usual way; a DLL the system folder lacks
    // fails to load instead.
    HMODULE module = LoadFromSystemFolder(name.c_str());
    if (module == nullptr) {
        ::RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND), 0, 0, nullptr);
    }
    return reinterpret_cast<FARPROC>(module);
}

}  // namespace

HMODULE LoadFromSystemFolder(const wchar_t* name) {
    if (SearchFlagsKnown()) {
        return ::LoadLibraryExW(name, nullptr, kSearchSystemFolder);
    }
    // Without the flag: the DLL of that name in the system folder, by its full path.
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

DWORD FullPathLoadFlags() {
    return SearchFlagsKnown() ? kSearchDllLoadFolder | kSearchSystemFolder
                              : LOAD_WITH_ALTERED_SEARCH_PATH;
}

void RestrictDllSearchToSystemFolder() {
    ::SetDllDirectoryW(L"");
    if (SetDefaultDllDirectoriesFn setDefault = DefaultSearchSetter()) {
        (void)setDefault(kSearchSystemFolder);
    }
    __pfnDliNotifyHook2 = DelayLoadNotification;
}

}  // namespace tolva::platform::win32

// A stand-in for one of the suite's COM libraries: registration and its removal, each recorded in
// the library's log. The automation library registers the server's ProgIDs, each with a class of
// its own served by this file; the API library has none.

#include <windows.h>
// After windows.h, which it needs.
#include <olectl.h>

#include <array>
#include <string>

#include "standin_log.h"

namespace {

struct ComClass {
    const wchar_t* progId;
    const wchar_t* classId;
};

#if defined(TOLVA_COM_AUTOMATION)
constexpr wchar_t kLibraryName[] = L"corvanecom";
constexpr std::array<ComClass, 3> kClasses = {{
    {L"CorvaneServer.APIObject", L"{6A1C2B10-5E0B-4C1A-9E3D-0C7A51B2D001}"},
    {L"CorvaneServer.DomainObject", L"{6A1C2B10-5E0B-4C1A-9E3D-0C7A51B2D002}"},
    {L"CorvaneServer.AccountObject", L"{6A1C2B10-5E0B-4C1A-9E3D-0C7A51B2D003}"},
}};
#else
constexpr wchar_t kLibraryName[] = L"api";
constexpr std::array<ComClass, 0> kClasses = {};
#endif

HMODULE library = nullptr;

const tolva::standins::StandinLog& Log() {
    static const tolva::standins::StandinLog log(library, kLibraryName);
    return log;
}

bool SetDefault(const std::wstring& key, const std::wstring& value) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    LONG result =
        ::RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

std::wstring LibraryPath() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(library, path, MAX_PATH);
    return std::wstring(path, length);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        library = instance;
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    Log().Write("DllRegisterServer");
    for (const ComClass& comClass : kClasses) {
        std::wstring classKey = std::wstring(L"CLSID\\") + comClass.classId;
        if (!SetDefault(comClass.progId, comClass.progId) ||
            !SetDefault(std::wstring(comClass.progId) + L"\\CLSID", comClass.classId) ||
            !SetDefault(classKey, comClass.progId) ||
            !SetDefault(classKey + L"\\ProgID", comClass.progId) ||
            !SetDefault(classKey + L"\\InprocServer32", LibraryPath())) {
            Log().Write("DllRegisterServer failed");
            return SELFREG_E_CLASS;
        }
    }
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
    Log().Write("DllUnregisterServer");
    for (const ComClass& comClass : kClasses) {
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, comClass.progId);
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + comClass.classId).c_str());
    }
    return S_OK;
}

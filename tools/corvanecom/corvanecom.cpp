// The stand-in of the server's automation library: the classes of server_objects.h as in-process
// COM servers, registered by DllRegisterServer, each call logged to logs\standin-corvanecom.log
// in the library's own folder (the installation folder).

#include <objbase.h>
#include <olectl.h>
#include <windows.h>

#include <string>

#include "automation_server.h"

namespace {

HMODULE g_module = nullptr;

std::wstring Wide(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::wstring LibraryPath() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        DWORD length = ::GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring LibraryFolder() {
    std::wstring path = LibraryPath();
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

bool SetDefault(HKEY root, const std::wstring& key, const wchar_t* name,
                const std::wstring& value) {
    HKEY opened = nullptr;
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    LONG result =
        ::RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(opened);
    return result == ERROR_SUCCESS;
}

}  // namespace

namespace tolva::standin {

void AppendToCallLog(const std::string& line) {
    std::wstring folder = LibraryFolder() + L"logs";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    HANDLE file = ::CreateFileW((folder + L"\\standin-corvanecom.log").c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace tolva::standin

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID classId, REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    for (const auto& serverClass : tolva::standin::kServerClasses) {
        CLSID id;
        if (::CLSIDFromString(Wide(serverClass.classId).c_str(), &id) == S_OK && id == classId) {
            return tolva::standin::ClassFactoryFor(serverClass)->QueryInterface(riid, object);
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return tolva::standin::g_serverUsers == 0 ? S_OK : S_FALSE;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    const std::wstring library = LibraryPath();
    for (const auto& serverClass : tolva::standin::kServerClasses) {
        const std::wstring progId = Wide(serverClass.progId);
        const std::wstring classKey = L"CLSID\\" + Wide(serverClass.classId);
        if (!SetDefault(HKEY_CLASSES_ROOT, progId, nullptr, progId) ||
            !SetDefault(HKEY_CLASSES_ROOT, progId + L"\\CLSID", nullptr,
                        Wide(serverClass.classId)) ||
            !SetDefault(HKEY_CLASSES_ROOT, classKey, nullptr, progId) ||
            !SetDefault(HKEY_CLASSES_ROOT, classKey + L"\\ProgID", nullptr, progId) ||
            !SetDefault(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", nullptr, library) ||
            !SetDefault(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", L"ThreadingModel",
                        L"Apartment")) {
            return SELFREG_E_CLASS;
        }
    }
    return S_OK;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
    for (const auto& serverClass : tolva::standin::kServerClasses) {
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, Wide(serverClass.progId).c_str());
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + Wide(serverClass.classId)).c_str());
    }
    return S_OK;
}

}  // extern "C"

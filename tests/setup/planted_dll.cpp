// A DLL planted beside a program under the name of a system DLL: once loaded it leaves
// "<its own path>.loaded" beside itself, so that a test can tell the program took it.

#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        std::wstring path(MAX_PATH * 4, L'\0');
        path.resize(::GetModuleFileNameW(instance, path.data(), static_cast<DWORD>(path.size())));
        HANDLE marker = ::CreateFileW((path + L".loaded").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (marker != INVALID_HANDLE_VALUE) {
            ::CloseHandle(marker);
        }
    }
    return TRUE;
}

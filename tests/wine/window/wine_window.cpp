// wine_window wait|close TITLE SECONDS: drives a program's top-level window from outside, as the
// demo and the end-to-end runs need.
//   wait   waits until a visible window with exactly that title exists and prints its rectangle
//          ("left top right bottom", screen pixels)
//   close  posts WM_CLOSE to it, waits until its process has ended and prints its exit code
// Exit code 0 on success, 1 when the time ran out, 64 on a usage error.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND FindVisible(const std::wstring& title) {
    HWND window = ::FindWindowW(nullptr, title.c_str());
    return window != nullptr && ::IsWindowVisible(window) ? window : nullptr;
}

HWND WaitForWindow(const std::wstring& title, DWORD deadline) {
    for (;;) {
        if (HWND window = FindVisible(title)) {
            return window;
        }
        if (static_cast<LONG>(::GetTickCount() - deadline) >= 0) {
            return nullptr;
        }
        ::Sleep(100);
    }
}

int Wait(const std::wstring& title, DWORD deadline) {
    HWND window = WaitForWindow(title, deadline);
    if (window == nullptr) {
        std::fwprintf(stderr, L"wine_window: no window \"%ls\"\n", title.c_str());
        return 1;
    }
    RECT frame;
    ::GetWindowRect(window, &frame);
    std::printf("%ld %ld %ld %ld\n", frame.left, frame.top, frame.right, frame.bottom);
    return 0;
}

int Close(const std::wstring& title, DWORD deadline) {
    HWND window = WaitForWindow(title, deadline);
    if (window == nullptr) {
        std::fwprintf(stderr, L"wine_window: no window \"%ls\"\n", title.c_str());
        return 1;
    }
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    HANDLE process =
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (process == nullptr) {
        return 1;
    }
    DWORD left = deadline - ::GetTickCount();
    DWORD waited = ::WaitForSingleObject(process, static_cast<LONG>(left) > 0 ? left : 0);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process, &exitCode);
    ::CloseHandle(process);
    if (waited != WAIT_OBJECT_0) {
        std::fwprintf(stderr, L"wine_window: \"%ls\" did not end\n", title.c_str());
        return 1;
    }
    std::printf("%lu\n", exitCode);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fwprintf(stderr, L"usage: wine_window wait|close TITLE SECONDS\n");
        return 64;
    }
    std::wstring command = argv[1];
    DWORD deadline =
        ::GetTickCount() + static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) * 1000;
    if (command == L"wait") {
        return Wait(argv[2], deadline);
    }
    if (command == L"close") {
        return Close(argv[2], deadline);
    }
    return 64;
}

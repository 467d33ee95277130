#include "platform/win32/win32_windows.h"

#include <windows.h>

#include <string>

#include "platform/win32/ansi_text.h"

namespace tolva::platform {
namespace {

HWND ToWindow(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

}  // namespace

WindowHandle Win32Windows::Find(std::string_view className, std::string_view caption) const {
    std::wstring wideClass = AnsiToWideText(className);
    std::wstring wideCaption = AnsiToWideText(caption);
    HWND found = ::FindWindowW(className.empty() ? nullptr : wideClass.c_str(),
                               caption.empty() ? nullptr : wideCaption.c_str());
    return reinterpret_cast<WindowHandle>(found);
}

Status Win32Windows::Post(WindowHandle window, uint32_t message, uintptr_t wParam,
                          intptr_t lParam) {
    if (!::PostMessageW(ToWindow(window), message, wParam, lParam)) {
        return Status::Failure(::GetLastError(), "post message " + std::to_string(message));
    }
    return Status::Ok();
}

intptr_t Win32Windows::Send(WindowHandle window, uint32_t message, uintptr_t wParam,
                            intptr_t lParam, uint32_t timeoutMs) {
    if (!::IsWindow(ToWindow(window))) {
        return 0;
    }
    // A program the system already knows to be hung is not waited for at all.
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutW(ToWindow(window), message, wParam, lParam,
                              SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &result) == 0) {
        return 0;
    }
    return static_cast<intptr_t>(result);
}

void Win32Windows::Close(WindowHandle window, uint32_t timeoutMs) {
    (void)Send(window, WM_CLOSE, 0, 0, timeoutMs);
}

void Win32Windows::ProcessPendingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave the quit request for the main loop.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace tolva::platform

#pragma once
// Top-level windows of the desktop.

#include "platform/desktop_windows.h"

namespace tolva::platform {

class Win32Windows : public Windows {
public:
    WindowHandle Find(std::string_view className, std::string_view caption) const override;
    Status Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    intptr_t Send(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                  uint32_t timeoutMs) override;
    void Close(WindowHandle window, uint32_t timeoutMs) override;
    void ProcessPendingMessages() override;
};

}  // namespace tolva::platform

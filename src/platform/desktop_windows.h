#pragma once
// Top-level windows of other programs: found by class and caption and sent messages.

#include <cstdint>
#include <string_view>

#include "platform/status.h"

namespace tolva::platform {

using WindowHandle = uintptr_t;  // 0: no window

// WM_CLOSE.
inline constexpr uint32_t kCloseMessage = 0x0010;

class Windows {
public:
    virtual ~Windows() = default;
    // The first top-level window with that class and caption, both compared without regard to case;
    // either may be empty to match any. Hidden windows count.
    virtual WindowHandle Find(std::string_view className, std::string_view caption) const = 0;
    // Queues the message and returns at once.
    virtual Status Post(WindowHandle window, uint32_t message, uintptr_t wParam,
                        intptr_t lParam) = 0;
    // Returns once the window's procedure has handled the message, with its result; 0 when the
    // window does not exist.
    virtual intptr_t Send(WindowHandle window, uint32_t message, uintptr_t wParam,
                          intptr_t lParam) = 0;
    // Sends the close message; the window decides whether it goes.
    virtual void Close(WindowHandle window) = 0;
    // Lets pending messages of this thread's windows run, so that long steps stay responsive.
    virtual void ProcessPendingMessages() = 0;
};

}  // namespace tolva::platform

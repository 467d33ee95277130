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
    // window does not exist, and when its program has not handled the message within timeoutMs
    // (it stopped answering): the sender never hangs on another program.
    virtual intptr_t Send(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                          uint32_t timeoutMs) = 0;
    // Sends the close message, waiting at most timeoutMs; the window decides whether it goes.
    virtual void Close(WindowHandle window, uint32_t timeoutMs) = 0;
    // Lets pending messages of this thread's windows run, so that long steps stay responsive.
    virtual void ProcessPendingMessages() = 0;
};

}  // namespace tolva::platform

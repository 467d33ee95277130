#pragma once
// Top-level windows of other programs: found by class and caption and sent messages.

#include <cstdint>
#include <string_view>

#include "platform/status.h"

namespace tolva::platform {

using WindowHandle = uintptr_t;  // 0: no window

class Windows {
public:
    virtual ~Windows() = default;
    // className or caption may be empty to match any.
    virtual WindowHandle Find(std::string_view className, std::string_view caption) const = 0;
    virtual Status Post(WindowHandle window, uint32_t message, uintptr_t wParam,
                        intptr_t lParam) = 0;
    virtual intptr_t Send(WindowHandle window, uint32_t message, uintptr_t wParam,
                          intptr_t lParam) = 0;
    virtual Status Close(WindowHandle window) = 0;
    // Lets pending messages of this thread's windows run, so that long steps stay responsive.
    virtual void ProcessPendingMessages() = 0;
};

}  // namespace tolva::platform

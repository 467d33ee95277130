#pragma once
// Stands in for other programs' windows where the platform has none.

#include "platform/desktop_windows.h"
#include "platform/unavailable/unavailable_status.h"

namespace tolva::platform {

class UnavailableWindows final : public Windows {
public:
    // No window is ever found, and a message sent to none is answered with 0.
    WindowHandle Find(std::string_view, std::string_view) const override { return 0; }
    Status Post(WindowHandle, uint32_t, uintptr_t, intptr_t) override { return Fail("Post"); }
    intptr_t Send(WindowHandle, uint32_t, uintptr_t, intptr_t) override { return 0; }
    Status Close(WindowHandle) override { return Fail("Close"); }
    // There are no windows whose messages could be pending.
    void ProcessPendingMessages() override {}

private:
    static Status Fail(const char* call) { return Unavailable("windows", call); }
};

}  // namespace tolva::platform

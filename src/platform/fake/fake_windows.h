#pragma once
// Top-level windows of other programs in memory. A window answers sent messages with a result the
// test chose and goes on the close message unless told to ignore it; every message is recorded.

#include <functional>
#include <string>
#include <vector>

#include "platform/desktop_windows.h"
#include "platform/fake/fake_calls.h"

namespace tolva::platform {

struct FakeWindowMessage {
    WindowHandle window = 0;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    bool sent = false;       // false: posted
    uint32_t timeoutMs = 0;  // how long a sender waits at most

    bool operator==(const FakeWindowMessage&) const = default;
};

class FakeWindows : public Windows {
public:
    // The window's procedure: the result of a message sent to it.
    using Procedure = std::function<intptr_t(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

    WindowHandle Find(std::string_view className, std::string_view caption) const override;
    Status Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    intptr_t Send(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                  uint32_t timeoutMs) override;
    void Close(WindowHandle window, uint32_t timeoutMs) override;
    void ProcessPendingMessages() override { ++pendingMessageRuns_; }

    // A window of another program.
    WindowHandle Open(std::string className, std::string caption);
    void IgnoreClose(WindowHandle window);
    // The window's program stops answering: messages sent to it are recorded, never handled, and
    // each send gives up after its timeout.
    void StopAnswering(WindowHandle window);
    void SetProcedure(WindowHandle window, Procedure procedure);
    // The window goes by itself (its program ended).
    void Destroy(WindowHandle window);
    bool Exists(WindowHandle window) const;

    FakeCallLog& Log() { return log_; }
    const FakeCallLog& Log() const { return log_; }
    // Every message sent or posted to a window that existed, in order.
    const std::vector<FakeWindowMessage>& Messages() const { return messages_; }
    int PendingMessageRuns() const { return pendingMessageRuns_; }

private:
    struct Window {
        WindowHandle handle = 0;
        std::string className;
        std::string caption;
        bool ignoresClose = false;
        bool answers = true;
        Procedure procedure;
    };

    Window* Lookup(WindowHandle window);
    // Runs the window's procedure; the close message destroys a window that does not ignore it.
    intptr_t Deliver(Window& window, uint32_t message, uintptr_t wParam, intptr_t lParam);

    mutable FakeCallLog log_;
    std::vector<Window> windows_;
    WindowHandle nextHandle_ = 0x10000;
    std::vector<FakeWindowMessage> messages_;
    int pendingMessageRuns_ = 0;
};

}  // namespace tolva::platform

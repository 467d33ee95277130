#include "platform/fake/fake_windows.h"

#include <algorithm>

namespace tolva::platform {

namespace {

std::string Subject(WindowHandle window) {
    return std::to_string(window);
}

}  // namespace

WindowHandle FakeWindows::Find(std::string_view className, std::string_view caption) const {
    (void)log_.Record("Find", std::string(className) + "/" + std::string(caption));
    for (const Window& window : windows_) {
        if ((className.empty() || SameName(window.className, className)) &&
            (caption.empty() || SameName(window.caption, caption))) {
            return window.handle;
        }
    }
    return 0;
}

Status FakeWindows::Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    Status status = log_.Record("Post", Subject(window));
    if (!status) {
        return status;
    }
    Window* target = Lookup(window);
    if (target == nullptr) {
        return Status::Failure(error::kInvalidHandle, "post to window " + Subject(window));
    }
    messages_.push_back(FakeWindowMessage{window, message, wParam, lParam, false});
    // Posted messages are handled once the target's message loop gets to them; here at once.
    (void)Deliver(*target, message, wParam, lParam);
    return Status::Ok();
}

intptr_t FakeWindows::Send(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                           uint32_t timeoutMs) {
    (void)log_.Record("Send", Subject(window));
    Window* target = Lookup(window);
    if (target == nullptr) {
        return 0;
    }
    messages_.push_back(FakeWindowMessage{window, message, wParam, lParam, true, timeoutMs});
    return target->answers ? Deliver(*target, message, wParam, lParam) : 0;
}

void FakeWindows::Close(WindowHandle window, uint32_t timeoutMs) {
    (void)log_.Record("Close", Subject(window));
    if (Window* target = Lookup(window)) {
        messages_.push_back(FakeWindowMessage{window, kCloseMessage, 0, 0, true, timeoutMs});
        if (target->answers) {
            (void)Deliver(*target, kCloseMessage, 0, 0);
        }
    }
}

WindowHandle FakeWindows::Open(std::string className, std::string caption) {
    nextHandle_ += 2;
    windows_.push_back(Window{nextHandle_, std::move(className), std::move(caption)});
    return nextHandle_;
}

void FakeWindows::IgnoreClose(WindowHandle window) {
    if (Window* target = Lookup(window)) {
        target->ignoresClose = true;
    }
}

void FakeWindows::StopAnswering(WindowHandle window) {
    if (Window* target = Lookup(window)) {
        target->answers = false;
    }
}

void FakeWindows::SetProcedure(WindowHandle window, Procedure procedure) {
    if (Window* target = Lookup(window)) {
        target->procedure = std::move(procedure);
    }
}

void FakeWindows::Destroy(WindowHandle window) {
    std::erase_if(windows_, [&](const Window& held) { return held.handle == window; });
}

bool FakeWindows::Exists(WindowHandle window) const {
    return std::any_of(windows_.begin(), windows_.end(),
                       [&](const Window& held) { return held.handle == window; });
}

FakeWindows::Window* FakeWindows::Lookup(WindowHandle window) {
    for (Window& held : windows_) {
        if (held.handle == window) {
            return &held;
        }
    }
    return nullptr;
}

intptr_t FakeWindows::Deliver(Window& window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    // The procedure may open or destroy windows: nothing of window is used after it ran.
    WindowHandle handle = window.handle;
    bool goes = message == kCloseMessage && !window.ignoresClose;
    Procedure procedure = window.procedure;
    intptr_t result = procedure ? procedure(message, wParam, lParam) : 0;
    if (goes) {
        Destroy(handle);
    }
    return result;
}

}  // namespace tolva::platform

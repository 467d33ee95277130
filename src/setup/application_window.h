#pragma once
// The process's application window: hidden, captioned with the application title, owner of the
// main window. Other programs find a running setup by its class and caption.

#include <windows.h>

#include <string>

namespace tolva::setup {

class ApplicationWindow {
public:
    ApplicationWindow() = default;
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    bool Create(HINSTANCE instance, const std::u16string& title);
    HWND Handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

}  // namespace tolva::setup

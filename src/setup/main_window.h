#pragma once
// The installer's one top-level window: a fixed-size wizard frame with the product in its header.

#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace tolva::setup {

class MainWindow {
public:
    explicit MainWindow(platform::Platform& services) : services_(services) {}
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the window class, creates the window centred on the screen and shows it. The owner
    // is the application window; the main window still has its own taskbar button.
    bool Create(HINSTANCE instance, HWND owner, int showCommand);
    HWND Handle() const { return window_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateFonts();
    void Paint();

    platform::Platform& services_;
    HWND window_ = nullptr;
    HFONT textFont_ = nullptr;
    HFONT titleFont_ = nullptr;
};

}  // namespace tolva::setup

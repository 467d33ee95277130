#pragma once
// What service control needs of the main window: its progress caption, its message boxes and its
// message loop. The main window implements it; tests record what would have been shown.

#include <string_view>

#include "platform/dialogs.h"

namespace tolva::winsys {

class ServiceControlWindow {
public:
    virtual ~ServiceControlWindow() = default;
    // The caption above the progress bar.
    virtual void ShowProgressText(std::u16string_view text) = 0;
    // A message box owned by the main window.
    virtual platform::DialogResult ShowMessageBox(const platform::MessageBoxRequest& request) = 0;
    // Lets pending window messages run.
    virtual void ProcessPendingMessages() = 0;
};

}  // namespace tolva::winsys

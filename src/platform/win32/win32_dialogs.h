#pragma once
// MessageBoxW.

#include "platform/dialogs.h"

namespace tolva::platform {

class Win32Dialogs : public Dialogs {
public:
    // A task-modal box disables every window of this thread; any other box is owned by the thread's
    // active window, so it stays in front of the wizard.
    DialogResult ShowMessageBox(const MessageBoxRequest& request) override;
};

}  // namespace tolva::platform

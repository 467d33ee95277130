#pragma once
// What the install sequence needs of the main window while it runs: the Installing page's caption,
// progress text and bar, the message loop, message boxes, and the user's answer to the cancel
// question. The main window implements it; tests record what would have been shown.

#include <string_view>

#include "net/download_window.h"
#include "net/setup_mail.h"
#include "platform/dialogs.h"

namespace tolva::setup {

class InstallWindow : public net::DownloadWindow {
public:
    // Lets pending window messages run, so that the window repaints and Esc or closing the window
    // reach the cancel question.
    virtual void ProcessPendingMessages() = 0;
    // True once the user answered Yes to the cancel question while the sequence runs. The window
    // only records the answer: the sequence writes the log line and ends the process.
    virtual bool CancelRequested() const = 0;
    // A message box owned by the main window.
    virtual platform::DialogResult ShowMessageBox(const platform::MessageBoxRequest& request) = 0;
    // The user-details page: name, e-mail address, company and country.
    virtual net::SetupMailDetails UserDetails() const = 0;
};

}  // namespace tolva::setup

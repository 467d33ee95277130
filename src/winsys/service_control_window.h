#pragma once
// What service control needs of the main window: its progress caption, its message boxes and its
// message loop. The main window implements it; tests record what would have been shown.

#include <string>
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

// The UI strings service control shows, by their keys in the UI string table, with their English
// texts.
struct ServiceControlTexts {
    std::u16string cChecking = u"Checking For Running Services...";
    std::u16string cInstalling = u"Installing Services...";
    std::u16string cStarting = u"Starting Services...";
    std::u16string cFinishing = u"Finishing Installation...";
    std::u16string cNotRunning =
        u"The following service(s) could not be started:\r\n%s\r\nThere must be already running "
        u"some other service(s) on the same TCP/IP port(s). Please, make sure no other SMTP or "
        u"POP3 servers are running (including MS SMTP and Norton POP3).";
    std::u16string cServiceError = u"Service error: ";
    std::u16string cErrorText =
        u"\r\nThere might be already some service running on the same TCP/IP port. Make sure MS "
        u"SMTP, Norton Antivirus POP3 or some other mail server is not running on this machine.";
};

}  // namespace tolva::winsys

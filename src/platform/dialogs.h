#pragma once
// Message boxes. Text is UTF-16, as everything the user reads.

#include <string>

namespace tolva::platform {

enum class DialogButtons { kOk, kOkCancel, kYesNo, kYesNoCancel, kRetryCancel, kAbortRetryIgnore };
enum class DialogIcon { kNone, kInformation, kWarning, kError, kQuestion };
// IDOK.. values of MessageBox.
enum class DialogResult {
    kOk = 1,
    kCancel = 2,
    kAbort = 3,
    kRetry = 4,
    kIgnore = 5,
    kYes = 6,
    kNo = 7
};

struct MessageBoxRequest {
    std::u16string text;
    std::u16string caption;
    DialogButtons buttons = DialogButtons::kOk;
    DialogIcon icon = DialogIcon::kNone;
    bool taskModal = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual DialogResult ShowMessageBox(const MessageBoxRequest& request) = 0;
};

}  // namespace tolva::platform

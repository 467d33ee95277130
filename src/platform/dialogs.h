#pragma once
// Message boxes. Text is UTF-16, as everything the user reads.

#include <string>

namespace tolva::platform {

enum class DialogButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class DialogIcon { None, Information, Warning, Error, Question };
// IDOK.. values of MessageBox.
enum class DialogResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageBoxRequest {
    std::u16string text;
    std::u16string caption;
    DialogButtons buttons = DialogButtons::Ok;
    DialogIcon icon = DialogIcon::None;
    bool taskModal = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual DialogResult ShowMessageBox(const MessageBoxRequest& request) = 0;
};

}  // namespace tolva::platform

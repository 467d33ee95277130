#include "platform/fake/fake_dialogs.h"

namespace tolva::platform {
namespace {

DialogResult FirstButton(DialogButtons buttons) {
    switch (buttons) {
        case DialogButtons::kYesNo:
        case DialogButtons::kYesNoCancel:
            return DialogResult::kYes;
        case DialogButtons::kRetryCancel:
            return DialogResult::kRetry;
        case DialogButtons::kAbortRetryIgnore:
            return DialogResult::kAbort;
        case DialogButtons::kOk:
        case DialogButtons::kOkCancel:
            break;
    }
    return DialogResult::kOk;
}

}  // namespace

DialogResult FakeDialogs::ShowMessageBox(const MessageBoxRequest& request) {
    shown_.push_back(request);
    if (!answers_.empty()) {
        DialogResult answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return defaultAnswer_.value_or(FirstButton(request.buttons));
}

}  // namespace tolva::platform

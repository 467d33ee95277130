#include "platform/fake/fake_dialogs.h"

namespace tolva::platform {
namespace {

DialogResult FirstButton(DialogButtons buttons) {
    switch (buttons) {
        case DialogButtons::YesNo:
        case DialogButtons::YesNoCancel:
            return DialogResult::Yes;
        case DialogButtons::RetryCancel:
            return DialogResult::Retry;
        case DialogButtons::AbortRetryIgnore:
            return DialogResult::Abort;
        case DialogButtons::Ok:
        case DialogButtons::OkCancel:
            break;
    }
    return DialogResult::Ok;
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

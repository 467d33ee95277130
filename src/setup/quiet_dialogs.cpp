#include "setup/quiet_dialogs.h"

#include <string>

namespace tolva::setup {
namespace {

using platform::DialogButtons;
using platform::DialogResult;

DialogResult DefaultAnswer(DialogButtons buttons) {
    switch (buttons) {
        case DialogButtons::kOk:
        case DialogButtons::kOkCancel:
            return DialogResult::kOk;
        case DialogButtons::kYesNo:
            return DialogResult::kYes;
        case DialogButtons::kYesNoCancel:
            return DialogResult::kNo;
        case DialogButtons::kRetryCancel:
            return DialogResult::kCancel;
        case DialogButtons::kAbortRetryIgnore:
            return DialogResult::kAbort;
    }
    return DialogResult::kCancel;
}

const char* AnswerName(DialogResult answer) {
    switch (answer) {
        case DialogResult::kOk:
            return "OK";
        case DialogResult::kCancel:
            return "Cancel";
        case DialogResult::kAbort:
            return "Abort";
        case DialogResult::kRetry:
            return "Retry";
        case DialogResult::kIgnore:
            return "Ignore";
        case DialogResult::kYes:
            return "Yes";
        case DialogResult::kNo:
            return "No";
    }
    return "";
}

// The box's text on one line.
std::string OneLine(std::string text) {
    std::string line;
    for (char c : text) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            if (!line.empty() && line.back() != ' ') {
                line += ' ';
            }
            continue;
        }
        line += c;
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

}  // namespace

DialogResult QuietDialogs::ShowMessageBox(const platform::MessageBoxRequest& request) {
    const DialogResult answer = DefaultAnswer(request.buttons);
    log_.Write("Message box \"" + system_.WideToAnsi(request.caption) + "\": " +
               OneLine(system_.WideToAnsi(request.text)) + " - answered " + AnswerName(answer));
    return answer;
}

}  // namespace tolva::setup

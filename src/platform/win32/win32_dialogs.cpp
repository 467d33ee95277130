#include "platform/win32/win32_dialogs.h"

#include <windows.h>

namespace tolva::platform {
namespace {

UINT ButtonFlags(DialogButtons buttons) {
    switch (buttons) {
        case DialogButtons::Ok:
            return MB_OK;
        case DialogButtons::OkCancel:
            return MB_OKCANCEL;
        case DialogButtons::YesNo:
            return MB_YESNO;
        case DialogButtons::YesNoCancel:
            return MB_YESNOCANCEL;
        case DialogButtons::RetryCancel:
            return MB_RETRYCANCEL;
        case DialogButtons::AbortRetryIgnore:
            return MB_ABORTRETRYIGNORE;
    }
    return MB_OK;
}

UINT IconFlags(DialogIcon icon) {
    switch (icon) {
        case DialogIcon::Information:
            return MB_ICONINFORMATION;
        case DialogIcon::Warning:
            return MB_ICONWARNING;
        case DialogIcon::Error:
            return MB_ICONERROR;
        case DialogIcon::Question:
            return MB_ICONQUESTION;
        case DialogIcon::None:
            break;
    }
    return 0;
}

std::wstring Wide(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

}  // namespace

DialogResult Win32Dialogs::ShowMessageBox(const MessageBoxRequest& request) {
    UINT flags = ButtonFlags(request.buttons) | IconFlags(request.icon);
    HWND owner = nullptr;
    if (request.taskModal) {
        flags |= MB_TASKMODAL;
    } else {
        owner = ::GetActiveWindow();
    }
    int answer =
        ::MessageBoxW(owner, Wide(request.text).c_str(), Wide(request.caption).c_str(), flags);
    // 0: the box could not be shown; the safe reading is that nothing was agreed to.
    return answer == 0 ? DialogResult::Cancel : static_cast<DialogResult>(answer);
}

}  // namespace tolva::platform

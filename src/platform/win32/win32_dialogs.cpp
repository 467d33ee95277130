#include "platform/win32/win32_dialogs.h"

#include <windows.h>

#include "util/wide_text.h"

namespace tolva::platform {
namespace {

UINT ButtonFlags(DialogButtons buttons) {
    switch (buttons) {
        case DialogButtons::kOk:
            return MB_OK;
        case DialogButtons::kOkCancel:
            return MB_OKCANCEL;
        case DialogButtons::kYesNo:
            return MB_YESNO;
        case DialogButtons::kYesNoCancel:
            return MB_YESNOCANCEL;
        case DialogButtons::kRetryCancel:
            return MB_RETRYCANCEL;
        case DialogButtons::kAbortRetryIgnore:
            return MB_ABORTRETRYIGNORE;
    }
    return MB_OK;
}

UINT IconFlags(DialogIcon icon) {
    switch (icon) {
        case DialogIcon::kInformation:
            return MB_ICONINFORMATION;
        case DialogIcon::kWarning:
            return MB_ICONWARNING;
        case DialogIcon::kError:
            return MB_ICONERROR;
        case DialogIcon::kQuestion:
            return MB_ICONQUESTION;
        case DialogIcon::kNone:
            break;
    }
    return 0;
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
    int answer = ::MessageBoxW(owner, util::ToWideString(request.text).c_str(),
                               util::ToWideString(request.caption).c_str(), flags);
    // 0: the box could not be shown; the safe reading is that nothing was agreed to.
    return answer == 0 ? DialogResult::kCancel : static_cast<DialogResult>(answer);
}

}  // namespace tolva::platform

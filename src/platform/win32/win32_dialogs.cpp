#include "platform/win32/win32_dialogs.h"

#include <windows.h>

#include <string_view>

#include "platform/win32/application_icon.h"
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

// Gives the message box the program's own icon in its frame, as the program's windows have.
LRESULT CALLBACK GiveBoxTheProgramIcon(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        if (::GetClassNameW(box, className, 16) > 0 && std::wstring_view(className) == L"#32770") {
            ::SendMessageW(box, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ApplicationIcon()));
            ::SendMessageW(
                box, WM_SETICON, ICON_SMALL,
                reinterpret_cast<LPARAM>(ApplicationIcon(::GetSystemMetrics(SM_CXSMICON))));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The hook for the boxes this thread shows while the scope lasts.
class BoxIconScope {
public:
    BoxIconScope()
        : hook_(::SetWindowsHookExW(WH_CBT, GiveBoxTheProgramIcon, nullptr,
                                    ::GetCurrentThreadId())) {}
    ~BoxIconScope() {
        if (hook_ != nullptr) {
            ::UnhookWindowsHookEx(hook_);
        }
    }
    BoxIconScope(const BoxIconScope&) = delete;
    BoxIconScope& operator=(const BoxIconScope&) = delete;

private:
    HHOOK hook_;
};

}  // namespace

DialogResult Win32Dialogs::ShowMessageBox(const MessageBoxRequest& request) {
    UINT flags = ButtonFlags(request.buttons) | IconFlags(request.icon);
    HWND owner = nullptr;
    if (request.taskModal) {
        flags |= MB_TASKMODAL;
    } else {
        owner = ::GetActiveWindow();
    }
    const BoxIconScope icon;
    int answer = ::MessageBoxW(owner, util::ToWideString(request.text).c_str(),
                               util::ToWideString(request.caption).c_str(), flags);
    // 0: the box could not be shown; the safe reading is that nothing was agreed to.
    return answer == 0 ? DialogResult::kCancel : static_cast<DialogResult>(answer);
}

}  // namespace tolva::platform

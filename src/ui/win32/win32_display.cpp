#include "ui/win32/win32_display.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "platform/win32/application_icon.h"
#include "ui/application.h"
#include "ui/control_identity.h"
#include "ui/keyboard.h"
#include "ui/win32/window_text.h"

namespace tolva::ui {
namespace {

std::optional<Key> DialogKeyOf(WPARAM virtualKey) {
    switch (virtualKey) {
        case VK_TAB:
            return Key::kTab;
        case VK_RETURN:
            return Key::kEnter;
        case VK_ESCAPE:
            return Key::kEscape;
        case VK_LEFT:
            return Key::kLeft;
        case VK_RIGHT:
            return Key::kRight;
        case VK_UP:
            return Key::kUp;
        case VK_DOWN:
            return Key::kDown;
        default:
            return std::nullopt;
    }
}

bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, bool ownIcon) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &FormWindow::Procedure;
    windowClass.hInstance = instance;
    if (ownIcon) {
        windowClass.hIcon = platform::ApplicationIcon();
        windowClass.hIconSm = platform::ApplicationIcon(::GetSystemMetrics(SM_CXSMICON));
    }
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

Win32Display::Win32Display(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    RegisterWindowClass(instance_, kContainerClass, false);
    RegisterWindowClass(instance_, kImageClass, false);
    syncMessage_ = ::RegisterWindowMessageW(Wide(kSyncMessage));
}

Win32Display::~Win32Display() = default;

HWND Win32Display::WindowOf(const Form& form) const {
    auto at = windows_.find(&form);
    return at != windows_.end() ? at->second->Handle() : nullptr;
}

HWND Win32Display::OwnerFor(const Form& form) const {
    if (!modalStack_.empty() && modalStack_.back() != &form) {
        if (HWND top = WindowOf(*modalStack_.back())) {
            return top;
        }
    }
    const Form* main = form.GetApplication().MainForm();
    if (main != nullptr && main != &form) {
        if (HWND window = WindowOf(*main)) {
            return window;
        }
    }
    return owner_;
}

FormWindow* Win32Display::Window(Form& form) {
    auto& window = windows_[&form];
    if (window) {
        return window.get();
    }
    std::u16string className(form.ClassName().begin(), form.ClassName().end());
    if (registeredClasses_.insert(form.ClassName()).second &&
        !RegisterWindowClass(instance_, Wide(className), true)) {
        registeredClasses_.erase(form.ClassName());
    }
    window = std::make_unique<FormWindow>(*this, form);
    if (!window->Create(OwnerFor(form))) {
        windows_.erase(&form);
        return nullptr;
    }
    return window.get();
}

FormWindow* Win32Display::WindowFor(HWND window) const {
    HWND root = ::GetAncestor(window, GA_ROOT);
    for (const auto& [form, formWindow] : windows_) {
        if (formWindow->Handle() == root) {
            return formWindow.get();
        }
    }
    return nullptr;
}

void Win32Display::ShowForm(Form& form) {
    FormWindow* window = Window(form);
    if (window == nullptr) {
        return;
    }
    if (form.Showing()) {
        ::SetForegroundWindow(window->Handle());
        return;
    }
    form.SetShowing(true);
    ::ShowWindow(window->Handle(), SW_SHOW);
    ::SetForegroundWindow(window->Handle());
    ::UpdateWindow(window->Handle());
    if (form.events.show) {
        form.GetApplication().Invoke([&form] { form.events.show(form); });
    }
    Component* active = form.ActiveControl();
    if (active == nullptr || !form.SetFocus(*active)) {
        form.FocusFirst();
    }
}

void Win32Display::ForgetForm(const Form& form) {
    windows_.erase(&form);
    modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), &form),
                      modalStack_.end());
}

void Win32Display::HideForm(Form& form) {
    if (HWND window = WindowOf(form)) {
        ::ShowWindow(window, SW_HIDE);
    }
    form.SetShowing(false);
}

ModalResult Win32Display::ShowModal(Form& form) {
    form.SetModalResult(ModalResult::kNone);
    form.SetModal(true);
    std::vector<HWND> disabled;
    auto disable = [&disabled](HWND window) {
        if (window != nullptr && ::IsWindowEnabled(window)) {
            ::EnableWindow(window, FALSE);
            disabled.push_back(window);
        }
    };
    disable(owner_);
    for (const auto& [other, window] : windows_) {
        if (other != &form && ::IsWindowVisible(window->Handle())) {
            disable(window->Handle());
        }
    }
    modalStack_.push_back(&form);
    ShowForm(form);
    for (;;) {
        if (form.GetModalResult() != ModalResult::kNone) {
            if (form.CloseQuery()) {
                break;
            }
            form.SetModalResult(ModalResult::kNone);
        }
        if (!form.Showing()) {
            form.SetModalResult(ModalResult::kCancel);
            break;
        }
        MSG message;
        int got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
            }
            form.SetModalResult(ModalResult::kCancel);
            break;
        }
        Dispatch(message);
    }
    ModalResult result = form.GetModalResult();
    if (form.events.close) {
        form.GetApplication().Invoke([&form] { form.events.close(form); });
    }
    // Enable the owners before the dialog goes, so that activation returns to them.
    for (HWND window : disabled) {
        ::EnableWindow(window, TRUE);
    }
    HideForm(form);
    modalStack_.pop_back();
    form.SetModal(false);
    return result;
}

void Win32Display::Run() {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        Dispatch(message);
    }
}

void Win32Display::Quit() {
    ::PostQuitMessage(0);
}

void Win32Display::ProcessPendingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Dispatch(message);
    }
}

void Win32Display::SetBusy(bool busy) {
    busy_ = busy;
    ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Win32Display::Dispatch(MSG& message) {
    if (!PreTranslate(message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

bool Win32Display::PreTranslate(MSG& message) {
    FormWindow* window = message.hwnd != nullptr ? WindowFor(message.hwnd) : nullptr;
    if (window == nullptr || !::IsWindowEnabled(window->Handle())) {
        return false;
    }
    Form& form = window->GetForm();
    switch (message.message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            window->NotePointer(message.hwnd,
                                {GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)});
            return false;
        case WM_KEYDOWN: {
            if (Component* target = window->ComponentOf(message.hwnd)) {
                form.NoteFocus(target);
            }
            std::optional<Key> key = DialogKeyOf(message.wParam);
            return key && HandleDialogKey(form, *key, ::GetKeyState(VK_SHIFT) < 0,
                                          window->ControlWantsKey(
                                              message.hwnd, static_cast<UINT>(message.wParam)));
        }
        case WM_SYSCHAR:
            return HandleMnemonic(form, static_cast<char16_t>(message.wParam), true);
        case WM_CHAR: {
            if (Component* target = window->ComponentOf(message.hwnd)) {
                form.NoteFocus(target);
            }
            char16_t character = DispatchKeyPress(form, static_cast<char16_t>(message.wParam));
            if (character == 0) {
                return true;
            }
            if (character > u' ' && HandleMnemonic(form, character, false)) {
                return true;
            }
            message.wParam = character;
            return false;
        }
        default:
            return false;
    }
}

}  // namespace tolva::ui

#include "setup/application_window.h"

#include "platform/win32/application_icon.h"
#include "util/wide_text.h"

namespace tolva::setup {
namespace {

constexpr wchar_t kClassName[] = L"TApplication";

}  // namespace

ApplicationWindow::~ApplicationWindow() {
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
}

bool ApplicationWindow::Create(HINSTANCE instance, const std::u16string& title) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    windowClass.hIcon = platform::ApplicationIcon();
    windowClass.hIconSm = platform::ApplicationIcon(::GetSystemMetrics(SM_CXSMICON));
    if (::RegisterClassExW(&windowClass) == 0) {
        return false;
    }
    const std::wstring caption = util::ToWideString(title);
    window_ = ::CreateWindowExW(0, kClassName, caption.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance, nullptr);
    return window_ != nullptr;
}

}  // namespace tolva::setup

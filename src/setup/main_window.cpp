#include "setup/main_window.h"

#include "setup/setup_title.h"
#include "util/wide_text.h"

namespace tolva::setup {
namespace {

constexpr wchar_t kClassName[] = L"TMainForm";
// Client area of the wizard, in pixels at 96 dpi.
constexpr int kClientWidth = 640;
constexpr int kClientHeight = 460;
constexpr int kHeaderHeight = 64;
constexpr int kButtonBarHeight = 48;

}  // namespace

MainWindow::~MainWindow() {
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
    if (textFont_ != nullptr) {
        ::DeleteObject(textFont_);
    }
    if (titleFont_ != nullptr) {
        ::DeleteObject(titleFont_);
    }
}

bool MainWindow::Create(HINSTANCE instance, HWND owner, int showCommand) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &MainWindow::Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassExW(&windowClass) == 0) {
        return false;
    }
    CreateFonts();

    constexpr DWORD kStyle =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    RECT work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int left = work.left + (work.right - work.left - width) / 2;
    int top = work.top + (work.bottom - work.top - height) / 2;

    window_ = ::CreateWindowExW(WS_EX_APPWINDOW, kClassName,
                                util::ToWideString(MainWindowTitle()).c_str(), kStyle, left, top,
                                width, height, owner, nullptr, instance, this);
    if (window_ == nullptr) {
        return false;
    }
    ::ShowWindow(window_, showCommand);
    ::UpdateWindow(window_);
    return true;
}

void MainWindow::CreateFonts() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    LOGFONTW font = {};
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font = metrics.lfMessageFont;
    } else {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    }
    textFont_ = ::CreateFontIndirectW(&font);
    font.lfWeight = FW_BOLD;
    font.lfHeight = font.lfHeight * 4 / 3;
    titleFont_ = ::CreateFontIndirectW(&font);
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<MainWindow*>(create->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_DESTROY:
            ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

void MainWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window_, &paint);
    RECT client;
    ::GetClientRect(window_, &client);

    // A white header band with the product, an etched line under it and one above the buttons.
    RECT header = {client.left, client.top, client.right, client.top + kHeaderHeight};
    ::FillRect(dc, &header, ::GetSysColorBrush(COLOR_WINDOW));
    RECT headerLine = {client.left, header.bottom, client.right, header.bottom + 2};
    ::DrawEdge(dc, &headerLine, EDGE_ETCHED, BF_TOP);
    RECT buttonLine = {client.left, client.bottom - kButtonBarHeight, client.right,
                       client.bottom - kButtonBarHeight + 2};
    ::DrawEdge(dc, &buttonLine, EDGE_ETCHED, BF_TOP);

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ previous = ::SelectObject(dc, titleFont_);
    std::wstring title = util::ToWideString(MainWindowTitle());
    RECT titleArea = {header.left + 16, header.top, header.right - 16, header.bottom};
    ::DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &titleArea,
                DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, previous);
    ::EndPaint(window_, &paint);
}

}  // namespace tolva::setup

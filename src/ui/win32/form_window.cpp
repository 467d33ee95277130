#include "ui/win32/form_window.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/win32/application_icon.h"
#include "ui/application.h"
#include "ui/control_identity.h"
#include "ui/user_input.h"
#include "ui/win32/win32_display.h"
#include "ui/win32/window_text.h"

namespace tolva::ui {
namespace {

std::u16string Utf16(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

struct FrameStyle {
    DWORD style;
    DWORD extended;
};

FrameStyle FrameOf(const Form& form) {
    switch (form.GetBorderStyle()) {
        case BorderStyle::kSingle:
            return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0};
        case BorderStyle::kToolWindow:
            return {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW};
        case BorderStyle::kDialog:
            break;
    }
    return {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME};
}

HICON StockIconHandle(StockIcon icon) {
    switch (icon) {
        case StockIcon::kApplication:
            return platform::ApplicationIcon();
        case StockIcon::kInformation:
            return ::LoadIconW(nullptr, IDI_INFORMATION);
        case StockIcon::kQuestion:
            return ::LoadIconW(nullptr, IDI_QUESTION);
        case StockIcon::kWarning:
            return ::LoadIconW(nullptr, IDI_WARNING);
        case StockIcon::kError:
            return ::LoadIconW(nullptr, IDI_ERROR);
        case StockIcon::kNone:
            break;
    }
    return nullptr;
}

}  // namespace

FormWindow::FormWindow(Win32Display& display, Form& form) : display_(&display), form_(&form) {}

FormWindow::~FormWindow() {
    if (form_->Observer() == this) {
        form_->SetObserver(nullptr);
    }
    if (window_.Valid()) {
        // No message of the dying windows may reach this object any more.
        ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
        for (const auto& control : controls_) {
            if (control->window != nullptr) {
                ::SetWindowLongPtrW(control->window, GWLP_USERDATA, 0);
                ::RemovePropW(control->window, Wide(kComponentProperty));
                ::RemovePropW(control->window, Wide(kClippedProperty));
            }
        }
        ::RemovePropW(window_.Get(), Wide(kFormProperty));
        ::RemovePropW(window_.Get(), Wide(kSyncedProperty));
    }
    tooltip_.Reset();
    window_.Reset();
    for (ATOM atom : atoms_) {
        ::GlobalDeleteAtom(atom);
    }
}

bool FormWindow::Create(HWND owner) {
    FrameStyle frame = FrameOf(*form_);
    RECT rect = {0, 0, form_->ClientWidth(), form_->ClientHeight()};
    ::AdjustWindowRectEx(&rect, frame.style, FALSE, frame.extended);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    RECT area = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    if (form_->Position() == FormPosition::kOwnerCenter && owner != nullptr &&
        ::IsWindowVisible(owner)) {
        ::GetWindowRect(owner, &area);
    }
    int left = area.left + (area.right - area.left - width) / 2;
    int top = area.top + (area.bottom - area.top - height) / 2;
    if (form_->GetApplication().MainForm() == form_) {
        frame.extended |= WS_EX_APPWINDOW;
    }
    std::u16string className = Utf16(form_->ClassName());
    HWND window = ::CreateWindowExW(frame.extended | WS_EX_CONTROLPARENT, Wide(className),
                                    Wide(form_->Caption()), frame.style, left, top, width, height,
                                    owner, nullptr, display_->Instance(), this);
    if (window == nullptr) {
        return false;
    }
    window_.Reset(window);
    ATOM formAtom = ::GlobalAddAtomW(Wide(Utf16(form_->Name())));
    atoms_.push_back(formAtom);
    ::SetPropW(window, Wide(kFormProperty),
               reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(formAtom)));

    tooltip_.Reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                     display_->Instance(), nullptr));
    if (tooltip_.Valid()) {
        ::SendMessageW(tooltip_.Get(), TTM_SETMAXTIPWIDTH, 0, 320);
        ::SendMessageW(tooltip_.Get(), TTM_ACTIVATE, form_->ShowHints() ? TRUE : FALSE, 0);
    }
    form_->SetObserver(this);
    for (const auto& component : form_->Components()) {
        CreateControl(*component);
    }
    Restack(nullptr);
    for (const auto& component : form_->Components()) {
        if (IsContainer(component->GetKind())) {
            Restack(component.get());
        }
    }
    return true;
}

void FormWindow::CreateControl(Component& component) {
    HWND parent = component.Parent() != nullptr ? WindowOf(*component.Parent()) : window_.Get();
    HWND window = CreateControlWindow(display_->Instance(), parent, component, this);
    if (window == nullptr) {
        return;
    }
    auto control = std::make_unique<ControlWindow>();
    control->component = &component;
    control->window = window;
    ATOM atom = ::GlobalAddAtomW(Wide(Utf16(component.Name())));
    atoms_.push_back(atom);
    ::SetPropW(window, Wide(kComponentProperty),
               reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
    byComponent_[&component] = control.get();
    byWindow_[window] = control.get();
    ++updating_;
    ApplyAll(*control, display_->Resources());
    --updating_;
    UpdateHint(component);
    CheckTextFits(*control);
    controls_.push_back(std::move(control));
}

void FormWindow::Recreate(Component& component) {
    ControlWindow* old = ControlOf(component);
    if (old == nullptr) {
        return;
    }
    HWND window = old->window;
    if (tooltip_.Valid()) {
        TOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = window_.Get();
        tool.uId = reinterpret_cast<UINT_PTR>(window);
        ::SendMessageW(tooltip_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    byWindow_.erase(window);
    byComponent_.erase(&component);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ::DestroyWindow(window);
    controls_.erase(std::remove_if(controls_.begin(), controls_.end(),
                                   [old](const auto& control) { return control.get() == old; }),
                    controls_.end());
    CreateControl(component);
    Restack(component.Parent());
}

void FormWindow::Restack(const Component* parent) {
    for (Component* child : form_->Children(parent)) {
        if (HWND window = WindowOf(*child)) {
            ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

ControlWindow* FormWindow::ControlOf(const Component& component) const {
    auto at = byComponent_.find(&component);
    return at != byComponent_.end() ? at->second : nullptr;
}

HWND FormWindow::WindowOf(const Component& component) const {
    ControlWindow* control = ControlOf(component);
    return control != nullptr ? control->window : nullptr;
}

Component* FormWindow::ComponentOf(HWND window) const {
    for (int depth = 0; window != nullptr && window != window_.Get() && depth < 3; ++depth) {
        auto at = byWindow_.find(window);
        if (at != byWindow_.end()) {
            return at->second->component;
        }
        window = ::GetParent(window);
    }
    return nullptr;
}

void FormWindow::NotePointer(HWND window, POINT point) {
    pointerWindow_ = window;
    pointer_ = point;
}

bool FormWindow::ControlWantsKey(HWND window, UINT virtualKey) const {
    Component* component = ComponentOf(window);
    if (component == nullptr || component->GetKind() != Kind::kComboBox) {
        return false;
    }
    bool dropped = ::SendMessageW(WindowOf(*component), CB_GETDROPPEDSTATE, 0, 0) != 0;
    return dropped && (virtualKey == VK_RETURN || virtualKey == VK_ESCAPE);
}

void FormWindow::UpdateHint(const Component& component) {
    HWND window = WindowOf(component);
    if (!tooltip_.Valid() || window == nullptr) {
        return;
    }
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_.Get();
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    ::SendMessageW(tooltip_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!component.Hint().empty()) {
        tool.lpszText = const_cast<wchar_t*>(Wide(component.Hint()));
        ::SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void FormWindow::CheckTextFits(const ControlWindow& control) {
    if (TextFits(control)) {
        ::RemovePropW(control.window, Wide(kClippedProperty));
    } else {
        ::SetPropW(control.window, Wide(kClippedProperty), reinterpret_cast<HANDLE>(1));
    }
}

void FormWindow::Cascade(const Component& parent, Property property) {
    for (Component* child : form_->Children(&parent)) {
        if (ControlWindow* control = ControlOf(*child)) {
            ApplyProperty(*control, property, display_->Resources());
            CheckTextFits(*control);
        }
        if (IsContainer(child->GetKind())) {
            Cascade(*child, property);
        }
    }
}

void FormWindow::ComponentChanged(Component& component, Property property) {
    ControlWindow* control = ControlOf(component);
    if (control == nullptr) {
        return;
    }
    ++updating_;
    switch (property) {
        case Property::kHint:
            UpdateHint(component);
            break;
        case Property::kZOrder:
            Restack(component.Parent());
            break;
        case Property::kLayout:
            if (IsContainer(component.GetKind())) {
                ::InvalidateRect(control->window, nullptr, TRUE);
            } else {
                Recreate(component);
                control = ControlOf(component);
            }
            break;
        case Property::kFont:
        case Property::kColour:
            ApplyProperty(*control, property, display_->Resources());
            if (IsContainer(component.GetKind())) {
                Cascade(component, property);
            }
            break;
        default:
            ApplyProperty(*control, property, display_->Resources());
            break;
    }
    if (control != nullptr && (property == Property::kText || property == Property::kFont ||
                               property == Property::kBounds)) {
        CheckTextFits(*control);
    }
    --updating_;
}

void FormWindow::FormChanged(FormProperty property) {
    HWND window = window_.Get();
    ++updating_;
    switch (property) {
        case FormProperty::kCaption:
            ::SetWindowTextW(window, Wide(form_->Caption()));
            break;
        case FormProperty::kFont:
            for (const auto& control : controls_) {
                ApplyProperty(*control, Property::kFont, display_->Resources());
                CheckTextFits(*control);
            }
            ::InvalidateRect(window, nullptr, TRUE);
            break;
        case FormProperty::kClientSize: {
            FrameStyle frame = FrameOf(*form_);
            RECT rect = {0, 0, form_->ClientWidth(), form_->ClientHeight()};
            ::AdjustWindowRectEx(&rect, frame.style, FALSE, frame.extended);
            ::SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        case FormProperty::kColour:
            ::InvalidateRect(window, nullptr, TRUE);
            for (const auto& control : controls_) {
                ::InvalidateRect(control->window, nullptr, TRUE);
            }
            break;
    }
    --updating_;
}

void FormWindow::FocusChanged(Component* component) {
    HWND target = component != nullptr ? WindowOf(*component) : nullptr;
    if (target != nullptr && form_->Showing()) {
        ++updating_;
        ::SetFocus(target);
        --updating_;
    }
}

Point FormWindow::PointerPosition(const Component& component) const {
    HWND window = WindowOf(component);
    if (window == nullptr) {
        return {};
    }
    POINT point = pointer_;
    if (pointerWindow_ == nullptr ||
        (pointerWindow_ != window && !::IsChild(window, pointerWindow_))) {
        ::GetCursorPos(&point);
        ::ScreenToClient(window, &point);
    } else if (pointerWindow_ != window) {
        ::MapWindowPoints(pointerWindow_, window, &point, 1);
    }
    return {point.x, point.y};
}

int FormWindow::NodeAt(const Component& tree, Point point) const {
    ControlWindow* control = ControlOf(tree);
    if (control == nullptr || tree.GetKind() != Kind::kTreeView) {
        return -1;
    }
    TVHITTESTINFO hit = {};
    hit.pt = {point.x, point.y};
    auto item = reinterpret_cast<HTREEITEM>(
        ::SendMessageW(control->window, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return item != nullptr ? NodeOfItem(*control, item) : -1;
}

LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(window, message, wParam, lParam);
}

LRESULT FormWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == display_->SyncMessage() && message != 0) {
        ::SetPropW(window_.Get(), Wide(kSyncedProperty), reinterpret_cast<HANDLE>(wParam));
        return 0;
    }
    Component* own = window == window_.Get() ? nullptr : ComponentOf(window);
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0) {
                return Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            }
            break;
        case WM_NOTIFY:
            return Notify(*reinterpret_cast<const NMHDR*>(lParam), lParam);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            if (ComponentOf(reinterpret_cast<HWND>(lParam)) != nullptr) {
                return ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            }
            break;
        case WM_ERASEBKGND: {
            RECT client;
            ::GetClientRect(window, &client);
            Colour colour = own != nullptr ? form_->EffectiveColour(*own) : form_->GetColour();
            ::FillRect(reinterpret_cast<HDC>(wParam), &client,
                       display_->Resources().Brush(colour, COLOR_BTNFACE));
            return 1;
        }
        case WM_PAINT:
            if (own != nullptr && own->GetKind() == Kind::kImage) {
                PaintImage(window, *ControlOf(*own));
                return 0;
            }
            if (own != nullptr) {
                PaintContainer(window, *own);
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (own != nullptr) {
                if (updating_ == 0) {
                    UserClick(*own);
                }
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && SetCursorFor(reinterpret_cast<HWND>(wParam))) {
                return TRUE;
            }
            break;
        case WM_CLOSE:
            if (window == window_.Get()) {
                form_->Close();
                return 0;
            }
            break;
        case WM_ACTIVATE:
            if (window == window_.Get() && LOWORD(wParam) != WA_INACTIVE &&
                form_->ActiveControl() != nullptr) {
                if (HWND focus = WindowOf(*form_->ActiveControl())) {
                    ::SetFocus(focus);
                    return 0;
                }
            }
            break;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT FormWindow::Command(HWND control, UINT code) {
    Component* component = ComponentOf(control);
    if (component == nullptr || updating_ > 0) {
        return 0;
    }
    switch (component->GetKind()) {
        case Kind::kButton:
        case Kind::kCheckBox:
        case Kind::kRadioButton:
            if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
                UserClick(*component);
            } else if (code == BN_SETFOCUS) {
                UserFocused(*component);
            }
            break;
        case Kind::kLabel:
            if (code == STN_CLICKED) {
                UserClick(*component);
            } else if (code == STN_DBLCLK) {
                UserDoubleClick(*component);
            }
            break;
        case Kind::kEdit:
        case Kind::kMemo:
            if (code == EN_CHANGE) {
                UserEditText(*component, WindowText(control));
                if (ControlWindow* own = ControlOf(*component);
                    own != nullptr && WindowText(control) != component->Text()) {
                    ++updating_;
                    ApplyProperty(*own, Property::kText, display_->Resources());
                    --updating_;
                }
            } else if (code == EN_SETFOCUS) {
                UserFocused(*component);
            }
            break;
        case Kind::kComboBox:
            if (code == CBN_SELCHANGE) {
                UserChooseItem(*component,
                               static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0)));
            } else if (code == CBN_EDITCHANGE) {
                UserEditText(*component, WindowText(control));
            } else if (code == CBN_SETFOCUS) {
                UserFocused(*component);
            }
            break;
        case Kind::kListBox:
            if (code == LBN_SELCHANGE) {
                UserChooseItem(*component,
                               static_cast<int>(::SendMessageW(control, LB_GETCURSEL, 0, 0)));
            } else if (code == LBN_DBLCLK) {
                UserDoubleClick(*component);
            } else if (code == LBN_SETFOCUS) {
                UserFocused(*component);
            }
            break;
        default:
            break;
    }
    return 0;
}

LRESULT FormWindow::Notify(const NMHDR& header, LPARAM lParam) {
    Component* component = ComponentOf(header.hwndFrom);
    if (component == nullptr) {
        return 0;
    }
    ControlWindow* control = ControlOf(*component);
    Kind kind = component->GetKind();
    if (header.code == NM_SETFOCUS) {
        UserFocused(*component);
        return 0;
    }
    if (kind == Kind::kTreeView) {
        if (header.code == TVN_SELCHANGEDW && updating_ == 0) {
            auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
            UserSelectNode(*component, NodeOfItem(*control, change->itemNew.hItem));
        } else if (header.code == NM_CLICK && updating_ == 0) {
            UserClick(*component);
        } else if (header.code == NM_DBLCLK && updating_ == 0) {
            UserDoubleClick(*component);
        }
        return 0;
    }
    if (kind != Kind::kListView && kind != Kind::kCheckListBox) {
        return 0;
    }
    if (header.code == NM_CUSTOMDRAW && kind == Kind::kCheckListBox) {
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
            return CDRF_NOTIFYITEMDRAW;
        }
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            size_t index = draw->nmcd.dwItemSpec;
            if (index < component->Items().size() && !component->Items()[index].enabled) {
                draw->clrText = ::GetSysColor(COLOR_GRAYTEXT);
            }
        }
        return CDRF_DODEFAULT;
    }
    if (header.code != LVN_ITEMCHANGED || updating_ > 0) {
        return 0;
    }
    auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
    if ((change->uChanged & LVIF_STATE) == 0 || change->iItem < 0) {
        return 0;
    }
    if (kind == Kind::kCheckListBox &&
        ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) != 0) {
        bool checked = ((change->uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2;
        if (!UserTickItem(*component, change->iItem, checked)) {
            ++updating_;
            ApplyProperty(*control, Property::kItemStates, display_->Resources());
            --updating_;
        }
    }
    if ((change->uNewState & LVIS_SELECTED) != 0 && (change->uOldState & LVIS_SELECTED) == 0) {
        UserChooseItem(*component, change->iItem);
    }
    return 0;
}

LRESULT FormWindow::ControlColour(HDC dc, HWND control) {
    Component* component = ComponentOf(control);
    Colour background = BackgroundOf(*component);
    FontSpec font = form_->EffectiveFont(*component);
    ::SetTextColor(dc, ColourRef(font.colour, COLOR_WINDOWTEXT));
    ::SetBkColor(dc, ColourRef(background, COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(display_->Resources().Brush(background, COLOR_BTNFACE));
}

bool FormWindow::SetCursorFor(HWND window) {
    LPCWSTR shape = nullptr;
    if (display_->Busy()) {
        shape = IDC_WAIT;
    } else if (Component* component = ComponentOf(window)) {
        switch (component->GetCursor()) {
            case Cursor::kHandPoint:
                shape = IDC_HAND;
                break;
            case Cursor::kHourGlass:
                shape = IDC_WAIT;
                break;
            case Cursor::kIBeam:
                shape = IDC_IBEAM;
                break;
            case Cursor::kArrow:
                shape = IDC_ARROW;
                break;
            case Cursor::kDefault:
                break;
        }
    }
    if (shape == nullptr) {
        return false;
    }
    ::SetCursor(::LoadCursorW(nullptr, shape));
    return true;
}

void FormWindow::PaintContainer(HWND window, const Component& component) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    RECT client;
    ::GetClientRect(window, &client);
    ::SetBkMode(dc, TRANSPARENT);
    FontSpec font = form_->EffectiveFont(component);
    HGDIOBJ previous = ::SelectObject(dc, display_->Resources().Font(font));
    COLORREF text = component.Enabled() ? ColourRef(font.colour, COLOR_WINDOWTEXT)
                                        : ::GetSysColor(COLOR_GRAYTEXT);
    ::SetTextColor(dc, text);
    const std::u16string& caption = component.Text();
    if (component.GetKind() == Kind::kGroupBox) {
        TEXTMETRICW metrics;
        ::GetTextMetricsW(dc, &metrics);
        RECT frame = client;
        frame.top += metrics.tmHeight / 2;
        ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        if (!caption.empty()) {
            RECT label = {8, 0, client.right - 8, metrics.tmHeight};
            ::DrawTextW(dc, Wide(caption), static_cast<int>(caption.size()), &label,
                        DT_CALCRECT | DT_SINGLELINE);
            label.left -= 2;
            label.right += 2;
            ::FillRect(
                dc, &label,
                display_->Resources().Brush(form_->EffectiveColour(component), COLOR_BTNFACE));
            label.left += 2;
            ::DrawTextW(dc, Wide(caption), static_cast<int>(caption.size()), &label, DT_SINGLELINE);
        }
    } else {
        if (component.BevelOuter() != PanelBevel::kNone) {
            ::DrawEdge(
                dc, &client,
                component.BevelOuter() == PanelBevel::kRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER,
                BF_RECT);
        }
        if (!caption.empty()) {
            ::DrawTextW(dc, Wide(caption), static_cast<int>(caption.size()), &client,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
    ::SelectObject(dc, previous);
    ::EndPaint(window, &paint);
}

void FormWindow::PaintImage(HWND window, const ControlWindow& image) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    RECT client;
    ::GetClientRect(window, &client);
    const Component& component = *image.component;
    if (image.bitmap.Valid()) {
        const Picture& picture = component.GetPicture();
        int left = component.Center() ? (client.right - picture.width) / 2 : 0;
        int top = component.Center() ? (client.bottom - picture.height) / 2 : 0;
        HDC memory = ::CreateCompatibleDC(dc);
        HGDIOBJ previous = ::SelectObject(memory, image.bitmap.Get());
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::AlphaBlend(dc, left, top, picture.width, picture.height, memory, 0, 0, picture.width,
                     picture.height, blend);
        ::SelectObject(memory, previous);
        ::DeleteDC(memory);
    } else if (HICON icon = StockIconHandle(component.Icon())) {
        int size = std::min(client.right, client.bottom) >= 32 ? 32 : 16;
        int left = component.Center() ? (client.right - size) / 2 : 0;
        int top = component.Center() ? (client.bottom - size) / 2 : 0;
        ::DrawIconEx(dc, left, top, icon, size, size, 0, nullptr, DI_NORMAL);
    }
    ::EndPaint(window, &paint);
}

}  // namespace tolva::ui

#include "ui/win32/control_window.h"

#include <string>

#include "ui/form.h"
#include "ui/win32/window_text.h"

namespace tolva::ui {
namespace {

// Room below a combo box for its drop-down list.
constexpr int kDropDownHeight = 160;

DWORD LabelStyle(const Component& label) {
    DWORD style = SS_NOTIFY;
    switch (label.GetAlignment()) {
        case Alignment::kCenter:
            style |= SS_CENTER;
            break;
        case Alignment::kRight:
            style |= SS_RIGHT;
            break;
        case Alignment::kLeft:
            style |= label.WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP;
            break;
    }
    if (!label.ShowAccelChar()) {
        style |= SS_NOPREFIX;
    }
    return style;
}

DWORD BevelStyleBits(const Component& bevel) {
    switch (bevel.GetBevelShape()) {
        case BevelShape::kTopLine:
        case BevelShape::kBottomLine:
            return SS_ETCHEDHORZ;
        case BevelShape::kLeftLine:
        case BevelShape::kRightLine:
            return SS_ETCHEDVERT;
        case BevelShape::kBox:
        case BevelShape::kFrame:
            break;
    }
    return SS_ETCHEDFRAME;
}

// Where the window goes: a bevel line sits on the edge of its bounds, a combo box reserves room
// for its list.
RECT WindowRect(const Component& component) {
    Bounds bounds = component.GetBounds();
    RECT rect = {bounds.left, bounds.top, bounds.Right(), bounds.Bottom()};
    if (component.GetKind() == Kind::kBevel) {
        switch (component.GetBevelShape()) {
            case BevelShape::kTopLine:
                rect.bottom = rect.top + 2;
                break;
            case BevelShape::kBottomLine:
                rect.top = rect.bottom - 2;
                break;
            case BevelShape::kLeftLine:
                rect.right = rect.left + 2;
                break;
            case BevelShape::kRightLine:
                rect.left = rect.right - 2;
                break;
            default:
                break;
        }
    } else if (component.GetKind() == Kind::kComboBox) {
        rect.bottom += kDropDownHeight;
    }
    return rect;
}

void AddStateImages(ControlWindow& tree) {
    const auto& pictures = tree.component->StatePictures();
    tree.stateImages.Reset();
    if (pictures.empty()) {
        ::SendMessageW(tree.window, TVM_SETIMAGELIST, TVSIL_STATE, 0);
        return;
    }
    int width = pictures.front().width;
    int height = pictures.front().height;
    tree.stateImages.Reset(::ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK,
                                              static_cast<int>(pictures.size()) + 1, 0));
    // State image 0 means "none": the list starts with an empty picture.
    Picture blank{width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), 0)};
    std::vector<Picture> all{blank};
    all.insert(all.end(), pictures.begin(), pictures.end());
    for (const Picture& picture : all) {
        platform::UniqueGdiObject colour = PictureBitmap(picture);
        std::vector<uint16_t> rows(static_cast<size_t>((width + 15) / 16 * height), 0);
        for (int y = 0; y < picture.height && y < height; ++y) {
            for (int x = 0; x < picture.width && x < width; ++x) {
                if ((picture.pixels[static_cast<size_t>(y * picture.width + x)] >> 24) < 128) {
                    // Monochrome rows are words, most significant bit first within each byte.
                    auto* bytes = reinterpret_cast<uint8_t*>(rows.data());
                    bytes[static_cast<size_t>(y * ((width + 15) / 16) * 2 + x / 8)] |=
                        static_cast<uint8_t>(0x80 >> (x % 8));
                }
            }
        }
        platform::UniqueGdiObject mask(::CreateBitmap(width, height, 1, 1, rows.data()));
        ::ImageList_Add(tree.stateImages.Get(), static_cast<HBITMAP>(colour.Get()),
                        static_cast<HBITMAP>(mask.Get()));
    }
    ::SendMessageW(tree.window, TVM_SETIMAGELIST, TVSIL_STATE,
                   reinterpret_cast<LPARAM>(tree.stateImages.Get()));
}

void SyncTree(ControlWindow& tree) {
    const auto& nodes = tree.component->Nodes();
    bool sameShape = tree.treeItems.size() == nodes.size();
    for (size_t i = 0; sameShape && i < nodes.size(); ++i) {
        HTREEITEM parent = reinterpret_cast<HTREEITEM>(
            ::SendMessageW(tree.window, TVM_GETNEXTITEM, TVGN_PARENT,
                           reinterpret_cast<LPARAM>(tree.treeItems[i])));
        HTREEITEM expected =
            nodes[i].parent >= 0 ? tree.treeItems[static_cast<size_t>(nodes[i].parent)] : nullptr;
        sameShape = parent == expected;
    }
    if (!sameShape) {
        ::SendMessageW(tree.window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        tree.treeItems.clear();
    }
    for (size_t i = 0; i < nodes.size(); ++i) {
        TVITEMW item = {};
        item.mask = TVIF_TEXT | TVIF_STATE | TVIF_PARAM;
        item.pszText = const_cast<wchar_t*>(Wide(nodes[i].text));
        item.state = INDEXTOSTATEIMAGEMASK(nodes[i].statePicture + 1);
        item.stateMask = TVIS_STATEIMAGEMASK;
        item.lParam = static_cast<LPARAM>(i);
        if (sameShape) {
            item.hItem = tree.treeItems[i];
            ::SendMessageW(tree.window, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            continue;
        }
        TVINSERTSTRUCTW insert = {};
        insert.hParent =
            nodes[i].parent >= 0 ? tree.treeItems[static_cast<size_t>(nodes[i].parent)] : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item = item;
        tree.treeItems.push_back(reinterpret_cast<HTREEITEM>(
            ::SendMessageW(tree.window, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))));
    }
    for (size_t i = 0; i < nodes.size(); ++i) {
        ::SendMessageW(tree.window, TVM_EXPAND, nodes[i].expanded ? TVE_EXPAND : TVE_COLLAPSE,
                       reinterpret_cast<LPARAM>(tree.treeItems[i]));
    }
}

void SelectNode(ControlWindow& tree) {
    int selected = tree.component->SelectedNode();
    HTREEITEM item = selected >= 0 && static_cast<size_t>(selected) < tree.treeItems.size()
                         ? tree.treeItems[static_cast<size_t>(selected)]
                         : nullptr;
    ::SendMessageW(tree.window, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void FillListView(ControlWindow& list) {
    const Component& component = *list.component;
    ::SendMessageW(list.window, LVM_DELETEALLITEMS, 0, 0);
    const auto& items = component.Items();
    for (size_t i = 0; i < items.size(); ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(Wide(items[i].text));
        ::SendMessageW(list.window, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void SetListViewColumns(ControlWindow& list) {
    const Component& component = *list.component;
    while (::SendMessageW(list.window, LVM_DELETECOLUMN, 0, 0) != 0) {
    }
    RECT client;
    ::GetClientRect(list.window, &client);
    std::vector<std::u16string> captions = component.Columns();
    if (component.GetKind() == Kind::kCheckListBox || captions.empty()) {
        captions = {u""};
    }
    int width = (client.right - client.left) / static_cast<int>(captions.size());
    for (size_t i = 0; i < captions.size(); ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = width;
        column.pszText = const_cast<wchar_t*>(Wide(captions[i]));
        ::SendMessageW(list.window, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

void SelectListViewItem(HWND window, int index) {
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    ::SendMessageW(window, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&state));
    if (index >= 0) {
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageW(window, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&state));
    }
}

void SetChecks(ControlWindow& list) {
    const auto& items = list.component->Items();
    for (size_t i = 0; i < items.size(); ++i) {
        LVITEMW state = {};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(items[i].checked ? 2 : 1);
        ::SendMessageW(list.window, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&state));
    }
    ::InvalidateRect(list.window, nullptr, TRUE);
}

void FillItems(ControlWindow& control) {
    HWND window = control.window;
    const Component& component = *control.component;
    switch (component.GetKind()) {
        case Kind::kComboBox:
            ::SendMessageW(window, CB_RESETCONTENT, 0, 0);
            for (const auto& item : component.Items()) {
                ::SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item.text)));
            }
            if (component.GetComboStyle() == ComboStyle::kDropDown) {
                ::SetWindowTextW(window, Wide(component.Text()));
            }
            break;
        case Kind::kListBox:
            ::SendMessageW(window, LB_RESETCONTENT, 0, 0);
            for (const auto& item : component.Items()) {
                ::SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item.text)));
            }
            break;
        case Kind::kCheckListBox:
            FillListView(control);
            SetChecks(control);
            break;
        case Kind::kListView:
            FillListView(control);
            break;
        default:
            break;
    }
}

void SelectItem(ControlWindow& control) {
    const Component& component = *control.component;
    int index = component.ItemIndex();
    switch (component.GetKind()) {
        case Kind::kComboBox:
            ::SendMessageW(control.window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            if (component.GetComboStyle() == ComboStyle::kDropDown) {
                ::SetWindowTextW(control.window, Wide(component.Text()));
            }
            break;
        case Kind::kListBox:
            ::SendMessageW(control.window, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
            break;
        case Kind::kCheckListBox:
        case Kind::kListView:
            SelectListViewItem(control.window, index);
            break;
        default:
            break;
    }
}

void SetText(ControlWindow& control) {
    const Component& component = *control.component;
    switch (component.GetKind()) {
        case Kind::kComboBox:
            if (component.GetComboStyle() == ComboStyle::kDropDownList) {
                return;
            }
            break;
        case Kind::kGroupBox:
        case Kind::kPanel:
        case Kind::kTabSheet:
            ::InvalidateRect(control.window, nullptr, TRUE);
            break;
        default:
            break;
    }
    if (WindowText(control.window) != component.Text()) {
        ::SetWindowTextW(control.window, Wide(component.Text()));
    }
}

void Move(ControlWindow& control) {
    RECT rect = WindowRect(*control.component);
    ::MoveWindow(control.window, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, TRUE);
    if (control.component->GetKind() == Kind::kListView ||
        control.component->GetKind() == Kind::kCheckListBox) {
        SetListViewColumns(control);
    }
}

}  // namespace

Colour BackgroundOf(const Component& component) {
    switch (component.GetKind()) {
        case Kind::kEdit:
        case Kind::kMemo:
        case Kind::kComboBox:
        case Kind::kListBox:
        case Kind::kCheckListBox:
        case Kind::kListView:
        case Kind::kTreeView:
            return component.GetColour() != kColourDefault ? component.GetColour() : kColourWindow;
        default:
            return component.Owner().EffectiveColour(component);
    }
}

HWND CreateControlWindow(HINSTANCE instance, HWND parent, const Component& component,
                         void* creationData) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD extended = 0;
    const wchar_t* windowClass = nullptr;
    switch (component.GetKind()) {
        case Kind::kLabel:
            windowClass = WC_STATICW;
            style |= LabelStyle(component);
            break;
        case Kind::kButton:
            windowClass = WC_BUTTONW;
            style |= (component.IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_NOTIFY;
            break;
        case Kind::kCheckBox:
            windowClass = WC_BUTTONW;
            style |= BS_CHECKBOX | BS_NOTIFY | (component.WordWrap() ? BS_MULTILINE : 0);
            break;
        case Kind::kRadioButton:
            windowClass = WC_BUTTONW;
            style |= BS_RADIOBUTTON | BS_NOTIFY | (component.WordWrap() ? BS_MULTILINE : 0);
            break;
        case Kind::kGroupBox:
        case Kind::kPanel:
        case Kind::kTabSheet:
            windowClass = kContainerClass;
            style |= WS_CLIPCHILDREN;
            extended |= WS_EX_CONTROLPARENT;
            break;
        case Kind::kBevel:
            windowClass = WC_STATICW;
            style |= BevelStyleBits(component);
            break;
        case Kind::kComboBox:
            windowClass = WC_COMBOBOXW;
            style |= WS_VSCROLL | (component.GetComboStyle() == ComboStyle::kDropDownList
                                       ? CBS_DROPDOWNLIST
                                       : CBS_DROPDOWN | CBS_AUTOHSCROLL);
            break;
        case Kind::kListBox:
            windowClass = WC_LISTBOXW;
            style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
            extended |= WS_EX_CLIENTEDGE;
            break;
        case Kind::kCheckListBox:
            windowClass = WC_LISTVIEWW;
            style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER;
            extended |= WS_EX_CLIENTEDGE;
            break;
        case Kind::kListView:
            windowClass = WC_LISTVIEWW;
            style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
            extended |= WS_EX_CLIENTEDGE;
            break;
        case Kind::kEdit:
            windowClass = WC_EDITW;
            style |= ES_AUTOHSCROLL;
            extended |= WS_EX_CLIENTEDGE;
            break;
        case Kind::kMemo:
            windowClass = WC_EDITW;
            style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL |
                     (component.WantReturns() ? ES_WANTRETURN : 0);
            extended |= WS_EX_CLIENTEDGE;
            break;
        case Kind::kTreeView:
            windowClass = WC_TREEVIEWW;
            style |= TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                     TVS_DISABLEDRAGDROP;
            extended |= WS_EX_CLIENTEDGE;
            break;
        case Kind::kProgressBar:
            windowClass = PROGRESS_CLASSW;
            break;
        case Kind::kImage:
            windowClass = kImageClass;
            break;
        case Kind::kMenuItem:
            return nullptr;
    }
    RECT rect = WindowRect(component);
    HWND window = ::CreateWindowExW(extended, windowClass, L"", style, rect.left, rect.top,
                                    rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                    instance, creationData);
    if (window != nullptr &&
        (component.GetKind() == Kind::kCheckListBox || component.GetKind() == Kind::kListView)) {
        DWORD listStyle = LVS_EX_FULLROWSELECT |
                          (component.GetKind() == Kind::kCheckListBox ? LVS_EX_CHECKBOXES : 0);
        ::SendMessageW(window, LVM_SETEXTENDEDLISTVIEWSTYLE, listStyle, listStyle);
    }
    return window;
}

void ApplyProperty(ControlWindow& control, Property property, GdiResources& resources) {
    HWND window = control.window;
    Component& component = *control.component;
    Kind kind = component.GetKind();
    switch (property) {
        case Property::kText:
            SetText(control);
            return;
        case Property::kBounds:
            Move(control);
            return;
        case Property::kVisible:
            ::ShowWindow(window, component.Visible() ? SW_SHOWNA : SW_HIDE);
            return;
        case Property::kEnabled:
            ::EnableWindow(window, component.Enabled() ? TRUE : FALSE);
            ::InvalidateRect(window, nullptr, TRUE);
            return;
        case Property::kChecked:
            ::SendMessageW(window, BM_SETCHECK, component.Checked() ? BST_CHECKED : BST_UNCHECKED,
                           0);
            return;
        case Property::kFont:
            ::SendMessageW(window, WM_SETFONT,
                           reinterpret_cast<WPARAM>(
                               resources.Font(component.Owner().EffectiveFont(component))),
                           TRUE);
            if (kind == Kind::kListView || kind == Kind::kCheckListBox) {
                SetListViewColumns(control);
            }
            if (IsContainer(kind)) {
                ::InvalidateRect(window, nullptr, TRUE);
            }
            return;
        case Property::kColour:
        case Property::kLayout:
            if (kind == Kind::kTreeView || kind == Kind::kListView || kind == Kind::kCheckListBox) {
                COLORREF background = ColourRef(BackgroundOf(component), COLOR_WINDOW);
                ::SendMessageW(window, kind == Kind::kTreeView ? TVM_SETBKCOLOR : LVM_SETBKCOLOR, 0,
                               static_cast<LPARAM>(background));
            }
            ::InvalidateRect(window, nullptr, TRUE);
            return;
        case Property::kItems:
            FillItems(control);
            SelectItem(control);
            return;
        case Property::kItemIndex:
            SelectItem(control);
            return;
        case Property::kItemStates:
            if (kind == Kind::kCheckListBox) {
                SetChecks(control);
            }
            return;
        case Property::kColumns:
            if (kind == Kind::kListView) {
                SetListViewColumns(control);
            }
            return;
        case Property::kNodes:
            SyncTree(control);
            SelectNode(control);
            return;
        case Property::kSelectedNode:
            SelectNode(control);
            return;
        case Property::kStatePictures:
            AddStateImages(control);
            return;
        case Property::kProgress:
            ::SendMessageW(window, PBM_SETRANGE32, static_cast<WPARAM>(component.Min()),
                           component.Max());
            ::SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(component.Position()), 0);
            return;
        case Property::kPicture:
            control.bitmap = PictureBitmap(component.GetPicture());
            ::InvalidateRect(window, nullptr, TRUE);
            return;
        case Property::kReadOnly:
            if (kind == Kind::kEdit || kind == Kind::kMemo) {
                ::SendMessageW(window, EM_SETREADONLY, component.ReadOnly() ? TRUE : FALSE, 0);
            }
            return;
        case Property::kPasswordChar:
            ::SendMessageW(window, EM_SETPASSWORDCHAR, component.PasswordChar(), 0);
            ::InvalidateRect(window, nullptr, TRUE);
            return;
        case Property::kSelection:
            if (kind == Kind::kEdit || kind == Kind::kMemo) {
                ::SendMessageW(window, EM_SETSEL, static_cast<WPARAM>(component.SelStart()),
                               component.SelStart() + component.SelLength());
            } else if (kind == Kind::kComboBox &&
                       component.GetComboStyle() == ComboStyle::kDropDown) {
                ::SendMessageW(
                    window, CB_SETEDITSEL, 0,
                    MAKELPARAM(component.SelStart(), component.SelStart() + component.SelLength()));
            }
            return;
        case Property::kDefault:
            if (kind == Kind::kButton) {
                ::SendMessageW(window, BM_SETSTYLE,
                               component.IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
            }
            return;
        case Property::kHint:
        case Property::kCursor:
        case Property::kZOrder:
            return;
    }
}

void ApplyAll(ControlWindow& control, GdiResources& resources) {
    Kind kind = control.component->GetKind();
    ApplyProperty(control, Property::kFont, resources);
    ApplyProperty(control, Property::kColour, resources);
    if (kind == Kind::kListView || kind == Kind::kCheckListBox) {
        SetListViewColumns(control);
    }
    if (kind == Kind::kTreeView) {
        ApplyProperty(control, Property::kStatePictures, resources);
        ApplyProperty(control, Property::kNodes, resources);
    }
    if (HasItems(kind)) {
        ApplyProperty(control, Property::kItems, resources);
    }
    const Property rest[] = {Property::kText,     Property::kProgress,     Property::kPicture,
                             Property::kReadOnly, Property::kPasswordChar, Property::kSelection,
                             Property::kChecked,  Property::kEnabled,      Property::kVisible};
    for (Property property : rest) {
        bool applies = true;
        switch (property) {
            case Property::kProgress:
                applies = kind == Kind::kProgressBar;
                break;
            case Property::kPicture:
                applies = kind == Kind::kImage;
                break;
            case Property::kPasswordChar:
            case Property::kSelection:
                applies = kind == Kind::kEdit || kind == Kind::kMemo;
                break;
            case Property::kChecked:
                applies = kind == Kind::kCheckBox || kind == Kind::kRadioButton;
                break;
            default:
                break;
        }
        if (applies) {
            ApplyProperty(control, property, resources);
        }
    }
}

int NodeOfItem(const ControlWindow& tree, HTREEITEM item) {
    for (size_t i = 0; i < tree.treeItems.size(); ++i) {
        if (tree.treeItems[i] == item) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool TextFits(const ControlWindow& control) {
    const Component& component = *control.component;
    Kind kind = component.GetKind();
    if (kind != Kind::kLabel && kind != Kind::kButton && kind != Kind::kCheckBox &&
        kind != Kind::kRadioButton) {
        return true;
    }
    RECT client;
    ::GetClientRect(control.window, &client);
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    UINT format = DT_CALCRECT;
    if (kind == Kind::kButton) {
        width -= 8;
        format |= DT_SINGLELINE;
    } else if (kind != Kind::kLabel) {
        width -= ::GetSystemMetrics(SM_CXMENUCHECK) + 4;
        format |= component.WordWrap() ? DT_WORDBREAK : DT_SINGLELINE;
    } else {
        format |= component.WordWrap() || component.GetAlignment() != Alignment::kLeft
                      ? DT_WORDBREAK
                      : DT_SINGLELINE;
        if (!component.ShowAccelChar()) {
            format |= DT_NOPREFIX;
        }
    }
    std::u16string text = component.Text();
    if (text.empty()) {
        return true;
    }
    HDC dc = ::GetDC(control.window);
    auto font = reinterpret_cast<HFONT>(::SendMessageW(control.window, WM_GETFONT, 0, 0));
    HGDIOBJ previous = ::SelectObject(dc, font);
    RECT needed = {0, 0, width, 0};
    ::DrawTextW(dc, Wide(text), static_cast<int>(text.size()), &needed, format);
    ::SelectObject(dc, previous);
    ::ReleaseDC(control.window, dc);
    return needed.right - needed.left <= width && needed.bottom - needed.top <= height;
}

}  // namespace tolva::ui

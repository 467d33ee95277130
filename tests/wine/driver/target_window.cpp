#include "target_window.h"

#include <commctrl.h>

#include <cstring>

#include "ui/control_identity.h"

namespace tolva::driver {
namespace {

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

constexpr DWORD kReplyTimeout = 5000;

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kReplyTimeout,
                              &result) == 0) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

// A few kilobytes in the target process, for messages that carry pointers.
class RemoteBuffer {
public:
    explicit RemoteBuffer(HWND window) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                 processId);
        if (process_ != nullptr) {
            address_ = static_cast<char*>(::VirtualAllocEx(
                process_, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        }
    }
    ~RemoteBuffer() {
        if (address_ != nullptr) {
            ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
        if (process_ != nullptr) {
            ::CloseHandle(process_);
        }
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return address_ != nullptr; }
    char* At(size_t offset) const { return address_ + offset; }
    bool Write(size_t offset, const void* data, size_t size) const {
        return ::WriteProcessMemory(process_, At(offset), data, size, nullptr) != 0;
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return ::ReadProcessMemory(process_, At(offset), data, size, nullptr) != 0;
    }

    static constexpr size_t kSize = 4096;
    static constexpr size_t kText = 1024;  // where texts go

private:
    HANDLE process_ = nullptr;
    char* address_ = nullptr;
};

std::wstring WindowText(HWND window) {
    LRESULT length = Ask(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring ItemText(HWND window, UINT lengthMessage, UINT textMessage, int index) {
    LRESULT length = Ask(window, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied =
        Ask(window, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring ListViewText(const RemoteBuffer& buffer, HWND list, int index) {
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = reinterpret_cast<wchar_t*>(buffer.At(RemoteBuffer::kText));
    item.cchTextMax = 256;
    buffer.Write(0, &item, sizeof item);
    LRESULT length = Ask(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(buffer.At(0)));
    std::wstring text(256, L'\0');
    buffer.Read(RemoteBuffer::kText, text.data(), text.size() * sizeof(wchar_t));
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

struct FindTopLevelState {
    std::wstring which;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM data) {
    auto* state = reinterpret_cast<FindTopLevelState*>(data);
    if (!::IsWindowVisible(window)) {
        return TRUE;
    }
    const std::wstring prefix = L"class:";
    bool byClass = state->which.compare(0, prefix.size(), prefix) == 0;
    std::wstring wanted = byClass ? state->which.substr(prefix.size()) : state->which;
    std::wstring actual = byClass ? ClassOf(window) : WindowText(window);
    if (actual == wanted) {
        state->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectNamed(HWND window, LPARAM data) {
    if (::GetPropW(window, Wide(ui::kComponentProperty)) != nullptr) {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    }
    return TRUE;
}

}  // namespace

std::wstring ClassOf(HWND window) {
    wchar_t name[128] = {};
    int length = ::GetClassNameW(window, name, 128);
    return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

HWND FindTopLevel(const std::wstring& which) {
    FindTopLevelState state{which};
    ::EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

HWND WaitForTopLevel(const std::wstring& which, DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    for (;;) {
        if (HWND window = FindTopLevel(which)) {
            return window;
        }
        if (::GetTickCount() - start >= milliseconds) {
            return nullptr;
        }
        ::Sleep(100);
    }
}

std::vector<HWND> NamedControls(HWND form) {
    std::vector<HWND> controls;
    ::EnumChildWindows(form, &CollectNamed, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

std::wstring ComponentName(HWND control) {
    auto atom = static_cast<ATOM>(
        reinterpret_cast<ULONG_PTR>(::GetPropW(control, Wide(ui::kComponentProperty))));
    wchar_t name[256] = {};
    UINT length = atom != 0 ? ::GlobalGetAtomNameW(atom, name, 256) : 0;
    return std::wstring(name, length);
}

HWND FindControl(HWND form, const std::wstring& name) {
    for (HWND control : NamedControls(form)) {
        if (ComponentName(control) == name) {
            return control;
        }
    }
    return nullptr;
}

std::wstring KindOf(HWND control) {
    std::wstring windowClass = ClassOf(control);
    LONG style = ::GetWindowLongW(control, GWL_STYLE);
    if (_wcsicmp(windowClass.c_str(), L"Button") == 0) {
        switch (style & BS_TYPEMASK) {
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
                return L"checkbox";
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
                return L"radio";
            default:
                return L"button";
        }
    }
    if (_wcsicmp(windowClass.c_str(), L"Static") == 0) {
        DWORD type = static_cast<DWORD>(style) & SS_TYPEMASK;
        return type == SS_ETCHEDHORZ || type == SS_ETCHEDVERT || type == SS_ETCHEDFRAME ? L"bevel"
                                                                                        : L"label";
    }
    const struct {
        const wchar_t* windowClass;
        const wchar_t* kind;
    } kinds[] = {{L"Edit", L"edit"},
                 {L"ComboBox", L"combo"},
                 {L"ListBox", L"list"},
                 {L"SysTreeView32", L"tree"},
                 {L"SysListView32", L"listview"},
                 {L"msctls_progress32", L"progress"},
                 {L"TolvaContainer", L"container"},
                 {L"TolvaImage", L"image"}};
    for (const auto& kind : kinds) {
        if (_wcsicmp(windowClass.c_str(), kind.windowClass) == 0) {
            return kind.kind;
        }
    }
    return windowClass;
}

std::vector<TreeRow> TreeRows(HWND tree) {
    std::vector<TreeRow> rows;
    RemoteBuffer buffer(tree);
    if (!buffer.Valid()) {
        return rows;
    }
    auto selected = reinterpret_cast<HTREEITEM>(Ask(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    auto item = reinterpret_cast<HTREEITEM>(Ask(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
    if (item == nullptr) {
        item = reinterpret_cast<HTREEITEM>(Ask(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    }
    for (int guard = 0; item != nullptr && guard < 10000; ++guard) {
        TreeRow row;
        row.item = item;
        row.selected = item == selected;
        TVITEMW query = {};
        query.mask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE;
        query.hItem = item;
        query.stateMask = TVIS_STATEIMAGEMASK;
        query.pszText = reinterpret_cast<wchar_t*>(buffer.At(RemoteBuffer::kText));
        query.cchTextMax = 256;
        buffer.Write(0, &query, sizeof query);
        Ask(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.At(0)));
        buffer.Read(0, &query, sizeof query);
        wchar_t text[256] = {};
        buffer.Read(RemoteBuffer::kText, text, sizeof text);
        text[255] = L'\0';
        row.text = text;
        row.statePicture = static_cast<int>((query.state & TVIS_STATEIMAGEMASK) >> 12) - 1;
        // TVM_GETITEMRECT takes the item in the rectangle it fills.
        RECT rect = {};
        std::memcpy(&rect, &item, sizeof item);
        buffer.Write(512, &rect, sizeof rect);
        Ask(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(buffer.At(512)));
        buffer.Read(512, &row.textRect, sizeof row.textRect);
        for (HTREEITEM parent = item; (parent = reinterpret_cast<HTREEITEM>(
                                           Ask(tree, TVM_GETNEXTITEM, TVGN_PARENT,
                                               reinterpret_cast<LPARAM>(parent)))) != nullptr;) {
            ++row.level;
        }
        rows.push_back(row);
        item = reinterpret_cast<HTREEITEM>(
            Ask(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)));
    }
    return rows;
}

std::wstring TextOf(HWND control) {
    std::wstring kind = KindOf(control);
    if (kind == L"combo") {
        LONG style = ::GetWindowLongW(control, GWL_STYLE);
        if ((style & 0x3) == CBS_DROPDOWNLIST) {
            LRESULT index = Ask(control, CB_GETCURSEL, 0, 0);
            return index >= 0
                       ? ItemText(control, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<int>(index))
                       : std::wstring();
        }
        return WindowText(control);
    }
    if (kind == L"list") {
        std::wstring text;
        LRESULT count = Ask(control, LB_GETCOUNT, 0, 0);
        LRESULT selected = Ask(control, LB_GETCURSEL, 0, 0);
        for (int i = 0; i < count; ++i) {
            text += (i == selected ? L"> " : L"  ") +
                    ItemText(control, LB_GETTEXTLEN, LB_GETTEXT, i) + L"\n";
        }
        return text;
    }
    if (kind == L"listview") {
        std::wstring text;
        RemoteBuffer buffer(control);
        LRESULT count = Ask(control, LVM_GETITEMCOUNT, 0, 0);
        bool checks = (Ask(control, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES) != 0;
        for (int i = 0; i < count && buffer.Valid(); ++i) {
            LRESULT state = Ask(control, LVM_GETITEMSTATE, static_cast<WPARAM>(i),
                                LVIS_SELECTED | LVIS_STATEIMAGEMASK);
            text += (state & LVIS_SELECTED) != 0 ? L"> " : L"  ";
            if (checks) {
                text += ((state & LVIS_STATEIMAGEMASK) >> 12) == 2 ? L"[x] " : L"[ ] ";
            }
            text += ListViewText(buffer, control, i) + L"\n";
        }
        return text;
    }
    if (kind == L"tree") {
        std::wstring text;
        for (const TreeRow& row : TreeRows(control)) {
            text += (row.selected ? L"> " : L"  ") +
                    std::wstring(static_cast<size_t>(row.level) * 2, L' ');
            if (row.statePicture >= 0) {
                text += L"[" + std::to_wstring(row.statePicture) + L"] ";
            }
            text += row.text + L"\n";
        }
        return text;
    }
    if (kind == L"progress") {
        return std::to_wstring(Ask(control, PBM_GETPOS, 0, 0)) + L"/" +
               std::to_wstring(Ask(control, PBM_GETRANGE, FALSE, 0));
    }
    return WindowText(control);
}

std::wstring StateOf(HWND control) {
    std::wstring state = ::IsWindowVisible(control) ? L"visible" : L"hidden";
    state += ::IsWindowEnabled(control) ? L" enabled" : L" disabled";
    std::wstring kind = KindOf(control);
    if (kind == L"checkbox" || kind == L"radio") {
        state += Ask(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? L" checked" : L" unchecked";
    }
    DWORD threadId = ::GetWindowThreadProcessId(control, nullptr);
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (::GetGUIThreadInfo(threadId, &info) &&
        (info.hwndFocus == control || (kind == L"combo" && ::IsChild(control, info.hwndFocus)))) {
        state += L" focused";
    }
    if (::GetPropW(control, Wide(ui::kClippedProperty)) != nullptr) {
        state += L" clipped";
    }
    return state;
}

bool Settle(HWND form, DWORD milliseconds) {
    // A window not made by our renderer (a message box) takes no sync message.
    if (::GetPropW(form, Wide(ui::kFormProperty)) == nullptr) {
        return true;
    }
    static const UINT message = ::RegisterWindowMessageW(Wide(ui::kSyncMessage));
    // A number this run has not used, so that an older answer is never taken for this one.
    static ULONG_PTR last = 0;
    ULONG_PTR ticket = static_cast<ULONG_PTR>(::GetTickCount()) * 2 + 1;
    ticket = ticket > last ? ticket : last + 2;
    last = ticket;
    if (!::PostMessageW(form, message, ticket, 0)) {
        return false;
    }
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
        if (reinterpret_cast<ULONG_PTR>(::GetPropW(form, Wide(ui::kSyncedProperty))) == ticket) {
            return true;
        }
        if (!::IsWindow(form)) {
            return true;
        }
        ::Sleep(20);
    }
    return false;
}

}  // namespace tolva::driver

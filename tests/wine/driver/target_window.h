#pragma once
// Reading the windows of another process: its forms by title, its controls by component name
// (the window property the renderer sets), their texts and states. Every read is a window message
// the target answers or a property of its windows; trees and list views, whose messages carry
// pointers, are read through a buffer in the target's memory.

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace tolva::driver {

// "Title" matches a top-level window's caption exactly; "class:TMainForm" its window class.
HWND FindTopLevel(const std::wstring& which);
HWND WaitForTopLevel(const std::wstring& which, DWORD milliseconds);

// The control carrying that component name, searched through all descendants; null if none.
HWND FindControl(HWND form, const std::wstring& name);
std::wstring ComponentName(HWND control);
// Every named control of a form, in window order.
std::vector<HWND> NamedControls(HWND form);

std::wstring ClassOf(HWND window);
// "button", "checkbox", "radio", "label", "edit", "combo", "list", "tree", "listview",
// "progress", "container", "image", "bevel" or the window class.
std::wstring KindOf(HWND control);

// What the user reads: captions, edit texts, a combo box's shown text; lists and trees give one
// line per item ("> " marks the selected one, trees add the state picture as "[n]").
std::wstring TextOf(HWND control);
// "visible|hidden enabled|disabled", then "checked|unchecked" for boxes, "focused", "clipped".
std::wstring StateOf(HWND control);

struct TreeRow {
    HTREEITEM item = nullptr;
    std::wstring text;
    int level = 0;
    int statePicture = -1;
    bool selected = false;
    RECT textRect = {};
};
// The rows a tree shows, top to bottom.
std::vector<TreeRow> TreeRows(HWND tree);

// Posts the renderer's sync message to the form and waits until the form has run everything
// posted before it. False on timeout; true at once for a window that is not one of our forms.
bool Settle(HWND form, DWORD milliseconds);

}  // namespace tolva::driver

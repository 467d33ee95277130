#pragma once
// One component's window: the real control made for its kind, and how each property of the model
// is put into it.

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "platform/win32/unique_gdi_object.h"
#include "platform/win32/unique_image_list.h"
#include "ui/component.h"
#include "ui/win32/gdi_resources.h"

namespace tolva::ui {

// Our own window classes: containers (panels, group boxes, sheets) and pictures. Their window
// procedure is the form window's.
inline constexpr wchar_t kContainerClass[] = L"TolvaContainer";
inline constexpr wchar_t kImageClass[] = L"TolvaImage";

struct ControlWindow {
    Component* component = nullptr;
    HWND window = nullptr;
    std::vector<HTREEITEM> treeItems;       // trees: the item of each node
    platform::UniqueImageList stateImages;  // trees
    platform::UniqueGdiObject bitmap;       // images
};

// Background of a component: edits, lists and trees have the window colour unless given one;
// the others show their parent's.
Colour BackgroundOf(const Component& component);

// Creates the control's window on parent; nothing for components without a window (menu items).
HWND CreateControlWindow(HINSTANCE instance, HWND parent, const Component& component,
                         void* creationData);

// Puts one property of the model into the window. The caller keeps the window's notifications
// of these changes from coming back as the user's actions.
void ApplyProperty(ControlWindow& control, Property property, GdiResources& resources);

// Puts every property into a new window.
void ApplyAll(ControlWindow& control, GdiResources& resources);

// The node shown by a tree item, -1 for none.
int NodeOfItem(const ControlWindow& tree, HTREEITEM item);

// Whether the text fits the control in its font (labels, buttons, check boxes, radio buttons).
bool TextFits(const ControlWindow& control);

}  // namespace tolva::ui

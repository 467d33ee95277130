#pragma once
// What the user's actions do to a form, with the events they fire. A renderer calls these once the
// window has taken the action; the headless display calls them directly. Each returns false and
// changes nothing when the user could not have acted: the component is hidden or disabled, or
// is not of a kind that takes the action.

#include <string>

#include "ui/component.h"

namespace tolva::ui {

// Buttons: the form takes the button's modal result, then the click event. Check boxes toggle,
// radio buttons become checked (the click event fires when the state changed). Labels, images,
// panels, lists and trees: the click event.
bool UserClick(Component& component);
// Edits, memos, editable combo boxes: the text the user left; the change event when it differs.
// Read-only edits refuse.
bool UserEditText(Component& component, std::u16string text);
// Combo boxes (click, then change) and list boxes (click) choose an item.
bool UserChooseItem(Component& component, int index);
// Check lists: the user ticks or unticks an enabled item; the change event.
bool UserTickItem(Component& component, int index, bool checked);
// Trees: the current node moves; the change event.
bool UserSelectNode(Component& component, int index);
// A double click on a list or tree.
bool UserDoubleClick(Component& component);
// The user moved the focus (a click into a control, Tab handled by the window).
void UserFocused(Component& component);

}  // namespace tolva::ui

#pragma once
// What the user can see of a form and reach with the mouse and keyboard.

#include "ui/component.h"

namespace tolva::ui {

// The component and every container it sits in are visible.
bool IsEffectivelyVisible(const Component& component);
// The component and every container it sits in are enabled: the user can reach it.
bool IsEffectivelyVisibleAndEnabled(const Component& component);
bool IsEffectivelyEnabled(const Component& component);
// The bounds in the form's client pixels.
Bounds FormBounds(const Component& component);
// Effectively visible and not hidden behind an opaque component in front of it (a page panel
// brought to the front covers the pages behind it).
bool IsSeen(const Component& component);

}  // namespace tolva::ui

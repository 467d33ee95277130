#pragma once
// What a renderer learns from a form it shows, and the little it answers back.

#include "ui/component.h"
#include "ui/geometry.h"

namespace tolva::ui {

enum class FormProperty : uint8_t { kCaption, kFont, kClientSize, kColour };

class FormObserver {
public:
    virtual ~FormObserver() = default;
    virtual void ComponentChanged(Component& component, Property property) = 0;
    virtual void FormChanged(FormProperty property) = 0;
    // The form's focused component changed by the program; the renderer moves the real focus.
    virtual void FocusChanged(Component* component) = 0;
    // Where the pointer was at the user's last mouse action, in the component's client pixels.
    virtual Point PointerPosition(const Component& component) const = 0;
    // The index of the tree node shown at a point of the tree, -1 for none.
    virtual int NodeAt(const Component& tree, Point point) const = 0;
};

}  // namespace tolva::ui

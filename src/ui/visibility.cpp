#include "ui/visibility.h"

#include "ui/form.h"

namespace tolva::ui {

bool IsEffectivelyVisible(const Component& component) {
    for (const Component* at = &component; at != nullptr; at = at->Parent()) {
        if (!at->Visible()) {
            return false;
        }
    }
    return true;
}

bool IsEffectivelyEnabled(const Component& component) {
    for (const Component* at = &component; at != nullptr; at = at->Parent()) {
        if (!at->Enabled()) {
            return false;
        }
    }
    return true;
}

bool IsEffectivelyVisibleAndEnabled(const Component& component) {
    return IsEffectivelyVisible(component) && IsEffectivelyEnabled(component);
}

Bounds FormBounds(const Component& component) {
    Bounds bounds = component.GetBounds();
    for (const Component* parent = component.Parent(); parent != nullptr;
         parent = parent->Parent()) {
        bounds.left += parent->GetBounds().left;
        bounds.top += parent->GetBounds().top;
    }
    return bounds;
}

bool IsSeen(const Component& component) {
    if (!IsEffectivelyVisible(component)) {
        return false;
    }
    Bounds area = FormBounds(component);
    const Form& form = component.Owner();
    for (const Component* level = &component; level != nullptr; level = level->Parent()) {
        for (const Component* sibling : form.Children(level->Parent())) {
            if (sibling->ZOrder() <= level->ZOrder() || !IsOpaque(sibling->GetKind()) ||
                !IsEffectivelyVisible(*sibling)) {
                continue;
            }
            if (FormBounds(*sibling).Covers(area)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace tolva::ui

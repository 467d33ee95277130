#include "ui/tab_order.h"

#include <algorithm>

#include "ui/visibility.h"

namespace tolva::ui {
namespace {

std::vector<Component*> InTabOrder(const Form& form, const Component* parent) {
    std::vector<Component*> children;
    for (const auto& component : form.Components()) {
        if (component->Parent() == parent) {
            children.push_back(component.get());
        }
    }
    std::stable_sort(children.begin(), children.end(),
                     [](Component* a, Component* b) { return a->TabOrder() < b->TabOrder(); });
    return children;
}

bool IsRadioTabStop(const Form& form, const Component& radio) {
    if (radio.Checked()) {
        return true;
    }
    for (Component* sibling : InTabOrder(form, radio.Parent())) {
        if (sibling->GetKind() == Kind::kRadioButton && sibling->Checked()) {
            return false;
        }
    }
    for (Component* sibling : InTabOrder(form, radio.Parent())) {
        if (sibling->GetKind() == Kind::kRadioButton && IsEffectivelyVisibleAndEnabled(*sibling)) {
            return sibling == &radio;
        }
    }
    return false;
}

void Collect(const Form& form, const Component* parent, std::vector<Component*>& sequence) {
    for (Component* component : InTabOrder(form, parent)) {
        if (!component->Visible() || !component->Enabled()) {
            continue;
        }
        if (IsContainer(component->GetKind())) {
            Collect(form, component, sequence);
            continue;
        }
        if (!TakesFocus(component->GetKind()) || !component->TabStop()) {
            continue;
        }
        if (component->GetKind() == Kind::kRadioButton && !IsRadioTabStop(form, *component)) {
            continue;
        }
        sequence.push_back(component);
    }
}

}  // namespace

std::vector<Component*> TabSequence(const Form& form) {
    std::vector<Component*> sequence;
    Collect(form, nullptr, sequence);
    return sequence;
}

Component* NextInTabOrder(const Form& form, const Component* current, bool backwards) {
    std::vector<Component*> sequence = TabSequence(form);
    if (sequence.empty()) {
        return nullptr;
    }
    auto at = std::find(sequence.begin(), sequence.end(), current);
    if (at == sequence.end()) {
        return backwards ? sequence.back() : sequence.front();
    }
    size_t index = static_cast<size_t>(at - sequence.begin());
    size_t count = sequence.size();
    return sequence[backwards ? (index + count - 1) % count : (index + 1) % count];
}

}  // namespace tolva::ui

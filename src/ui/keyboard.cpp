#include "ui/keyboard.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/tab_order.h"
#include "ui/user_input.h"
#include "ui/visibility.h"

namespace tolva::ui {
namespace {

bool Reachable(const Component& component) {
    return IsEffectivelyVisibleAndEnabled(component) && IsSeen(component);
}

Component* Focused(const Form& form) {
    Component* focused = form.ActiveControl();
    return focused != nullptr && Reachable(*focused) ? focused : nullptr;
}

bool ControlWants(const Component* focused, Key key) {
    if (focused == nullptr) {
        return false;
    }
    return key == Key::kEnter && focused->GetKind() == Kind::kMemo && focused->WantReturns() &&
           !focused->ReadOnly();
}

Component* FirstButton(const Form& form, bool (Component::*flag)() const) {
    for (const auto& component : form.Components()) {
        if (component->GetKind() == Kind::kButton && ((*component).*flag)() &&
            Reachable(*component)) {
            return component.get();
        }
    }
    return nullptr;
}

bool MoveAmongRadios(Form& form, Component& radio, bool forward) {
    std::vector<Component*> radios;
    for (Component* sibling : form.Children(radio.Parent())) {
        if (sibling->GetKind() == Kind::kRadioButton && Reachable(*sibling)) {
            radios.push_back(sibling);
        }
    }
    std::stable_sort(radios.begin(), radios.end(),
                     [](Component* a, Component* b) { return a->TabOrder() < b->TabOrder(); });
    auto at = std::find(radios.begin(), radios.end(), &radio);
    if (at == radios.end() || radios.size() < 2) {
        return at != radios.end();
    }
    size_t index = static_cast<size_t>(at - radios.begin());
    size_t count = radios.size();
    Component* next = radios[forward ? (index + 1) % count : (index + count - 1) % count];
    form.SetFocus(*next);
    UserClick(*next);
    return true;
}

Component* FirstInside(const Form& form, const Component& container) {
    for (Component* candidate : TabSequence(form)) {
        for (const Component* at = candidate->Parent(); at != nullptr; at = at->Parent()) {
            if (at == &container) {
                return candidate;
            }
        }
    }
    return nullptr;
}

}  // namespace

bool HandleDialogKey(Form& form, Key key, bool shift, bool focusedWantsKey) {
    Component* focused = Focused(form);
    if (focusedWantsKey || ControlWants(focused, key)) {
        return false;
    }
    switch (key) {
        case Key::kTab: {
            Component* next = NextInTabOrder(form, focused, shift);
            return next != nullptr && form.SetFocus(*next);
        }
        case Key::kEnter: {
            if (focused != nullptr && focused->GetKind() == Kind::kButton) {
                return UserClick(*focused);
            }
            Component* button = FirstButton(form, &Component::IsDefault);
            return button != nullptr && UserClick(*button);
        }
        case Key::kEscape: {
            Component* button = FirstButton(form, &Component::IsCancel);
            return button != nullptr && UserClick(*button);
        }
        case Key::kLeft:
        case Key::kRight:
        case Key::kUp:
        case Key::kDown:
            if (focused != nullptr && focused->GetKind() == Kind::kRadioButton) {
                return MoveAmongRadios(form, *focused, key == Key::kRight || key == Key::kDown);
            }
            return false;
        default:
            return false;
    }
}

bool HandleMnemonic(Form& form, char16_t letter, bool alt) {
    Component* focused = Focused(form);
    if (!alt && focused != nullptr && TakesCharacters(focused->GetKind())) {
        return false;
    }
    letter = FoldCase(letter);
    for (const auto& owned : form.Components()) {
        Component& component = *owned;
        if (!HasMnemonicCaption(component.GetKind()) || !Reachable(component) ||
            (component.GetKind() == Kind::kLabel && !component.ShowAccelChar()) ||
            MnemonicOf(component.Text()) != letter) {
            continue;
        }
        switch (component.GetKind()) {
            case Kind::kButton:
                return UserClick(component);
            case Kind::kCheckBox:
            case Kind::kRadioButton:
                form.SetFocus(component);
                return UserClick(component);
            case Kind::kLabel:
                return component.FocusControl() != nullptr &&
                       form.SetFocus(*component.FocusControl());
            case Kind::kGroupBox: {
                Component* first = FirstInside(form, component);
                return first != nullptr && form.SetFocus(*first);
            }
            default:
                return false;
        }
    }
    return false;
}

char16_t DispatchKeyPress(Form& form, char16_t character) {
    const Application& application = form.GetApplication();
    if (form.KeyPreview() && form.events.keyPress) {
        application.Invoke([&] { form.events.keyPress(form, character); });
    }
    Component* focused = Focused(form);
    if (character != 0 && focused != nullptr && focused->events.keyPress) {
        application.Invoke([&] { focused->events.keyPress(*focused, character); });
    }
    return character;
}

}  // namespace tolva::ui

#include "ui/user_input.h"

#include "ui/application.h"
#include "ui/form.h"
#include "ui/visibility.h"

namespace tolva::ui {
namespace {

void Fire(Component& component, const NotifyHandler& handler) {
    if (handler) {
        component.Owner().GetApplication().Invoke([&] { handler(component); });
    }
}

bool Reachable(const Component& component) {
    return component.Owner().Showing() && IsEffectivelyVisibleAndEnabled(component);
}

}  // namespace

bool UserClick(Component& component) {
    if (!Reachable(component)) {
        return false;
    }
    switch (component.GetKind()) {
        case Kind::kButton:
            if (component.GetModalResult() != ModalResult::kNone) {
                component.Owner().SetModalResult(component.GetModalResult());
            }
            Fire(component, component.events.click);
            return true;
        case Kind::kCheckBox:
            component.SetChecked(!component.Checked());
            Fire(component, component.events.click);
            return true;
        case Kind::kRadioButton:
            if (!component.Checked()) {
                component.SetChecked(true);
                Fire(component, component.events.click);
            }
            return true;
        case Kind::kMenuItem:
        case Kind::kBevel:
            return false;
        default:
            Fire(component, component.events.click);
            return true;
    }
}

bool UserEditText(Component& component, std::u16string text) {
    Kind kind = component.GetKind();
    bool editable = kind == Kind::kEdit || kind == Kind::kMemo ||
                    (kind == Kind::kComboBox && component.GetComboStyle() == ComboStyle::kDropDown);
    if (!editable || component.ReadOnly() || !Reachable(component)) {
        return false;
    }
    if (component.MaxLength() > 0 && text.size() > static_cast<size_t>(component.MaxLength())) {
        text.resize(static_cast<size_t>(component.MaxLength()));
    }
    if (component.Text() == text) {
        return true;
    }
    component.SetText(std::move(text));
    if (kind == Kind::kComboBox) {
        component.SetItemIndex(-1);
    }
    Fire(component, component.events.change);
    return true;
}

bool UserChooseItem(Component& component, int index) {
    Kind kind = component.GetKind();
    if ((kind != Kind::kComboBox && kind != Kind::kListBox && kind != Kind::kCheckListBox &&
         kind != Kind::kListView) ||
        !Reachable(component) || index < 0 || index >= static_cast<int>(component.Items().size())) {
        return false;
    }
    component.SetItemIndex(index);
    if (kind == Kind::kComboBox) {
        component.SetText(component.Items()[static_cast<size_t>(index)].text);
        component.SetSelection(static_cast<int>(component.Text().size()), 0);
    }
    Fire(component, component.events.click);
    if (kind == Kind::kComboBox) {
        Fire(component, component.events.change);
    }
    return true;
}

bool UserTickItem(Component& component, int index, bool checked) {
    if (component.GetKind() != Kind::kCheckListBox || !Reachable(component) || index < 0 ||
        index >= static_cast<int>(component.Items().size()) ||
        !component.Items()[static_cast<size_t>(index)].enabled) {
        return false;
    }
    if (component.Items()[static_cast<size_t>(index)].checked != checked) {
        component.SetItemChecked(index, checked);
        Fire(component, component.events.change);
    }
    return true;
}

bool UserSelectNode(Component& component, int index) {
    if (component.GetKind() != Kind::kTreeView || !Reachable(component) || index < 0 ||
        index >= static_cast<int>(component.Nodes().size())) {
        return false;
    }
    if (component.SelectedNode() != index) {
        component.SetSelectedNode(index);
        Fire(component, component.events.change);
    }
    return true;
}

bool UserDoubleClick(Component& component) {
    if (!Reachable(component)) {
        return false;
    }
    Fire(component, component.events.dblClick);
    return true;
}

void UserFocused(Component& component) {
    component.Owner().NoteFocus(&component);
}

}  // namespace tolva::ui

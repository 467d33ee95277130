#include "ui/form_snapshot.h"

#include "ui/visibility.h"

namespace tolva::ui {
namespace {

std::u16string Number(int value) {
    std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string Quoted(const std::u16string& text) {
    std::u16string quoted = u"\"";
    for (char16_t c : text) {
        if (c == u'\r') {
            quoted += u"\\r";
        } else if (c == u'\n') {
            quoted += u"\\n";
        } else {
            quoted.push_back(c);
        }
    }
    return quoted + u"\"";
}

std::u16string Word(std::string_view word) {
    return std::u16string(word.begin(), word.end());
}

void DescribeNodes(const Component& tree, std::u16string& out) {
    const auto& nodes = tree.Nodes();
    for (int i = 0; i < static_cast<int>(nodes.size()); ++i) {
        if (!tree.NodeShown(i)) {
            continue;
        }
        const TreeNode& node = nodes[static_cast<size_t>(i)];
        out += u"  " + std::u16string(static_cast<size_t>(node.level) * 2, u' ');
        if (node.statePicture >= 0) {
            out += u"[" + Number(node.statePicture) + u"] ";
        }
        out += Quoted(node.text);
        if (tree.SelectedNode() == i) {
            out += u" current";
        }
        out += u"\n";
    }
}

void DescribeItems(const Component& list, std::u16string& out) {
    const auto& items = list.Items();
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const ListItem& item = items[static_cast<size_t>(i)];
        out += u"  ";
        if (list.GetKind() == Kind::kCheckListBox) {
            out += item.checked ? u"[x] " : u"[ ] ";
        }
        out += Quoted(item.text);
        if (list.ItemIndex() == i) {
            out += u" selected";
        }
        if (!item.enabled) {
            out += u" disabled";
        }
        out += u"\n";
    }
}

}  // namespace

std::u16string ShownText(const Component& component) {
    switch (component.GetKind()) {
        case Kind::kLabel:
            return component.ShowAccelChar() ? DisplayedCaption(component.Text())
                                             : component.Text();
        case Kind::kButton:
        case Kind::kCheckBox:
        case Kind::kRadioButton:
        case Kind::kGroupBox:
            return DisplayedCaption(component.Text());
        case Kind::kEdit:
            return component.PasswordChar() != 0
                       ? std::u16string(component.Text().size(), component.PasswordChar())
                       : component.Text();
        case Kind::kComboBox:
            if (component.GetComboStyle() == ComboStyle::kDropDownList) {
                int index = component.ItemIndex();
                return index >= 0 ? component.Items()[static_cast<size_t>(index)].text
                                  : std::u16string();
            }
            return component.Text();
        case Kind::kPanel:
        case Kind::kTabSheet:
        case Kind::kMemo:
            return component.Text();
        default:
            return {};
    }
}

std::u16string DescribeForm(const Form& form) {
    std::u16string out = u"form " + Word(form.ClassName()) + u" " + Quoted(form.Caption()) + u"\n";
    for (const auto& owned : form.Components()) {
        const Component& component = *owned;
        Kind kind = component.GetKind();
        if (kind == Kind::kMenuItem || kind == Kind::kBevel || !IsSeen(component)) {
            continue;
        }
        std::u16string shown = ShownText(component);
        bool container = IsContainer(kind) && kind != Kind::kGroupBox;
        if (container && shown.empty()) {
            continue;
        }
        out += Word(KindWord(kind)) + u" " + Word(component.Name());
        if (kind == Kind::kCheckBox) {
            out += component.Checked() ? u" [x]" : u" [ ]";
        } else if (kind == Kind::kRadioButton) {
            out += component.Checked() ? u" (o)" : u" ( )";
        } else if (kind == Kind::kProgressBar) {
            out += u" " + Number(component.Position()) + u"/" + Number(component.Max());
        }
        if (!shown.empty() || kind == Kind::kEdit || kind == Kind::kLabel) {
            out += u" " + Quoted(shown);
        }
        if (kind == Kind::kButton && component.IsDefault()) {
            out += u" default";
        }
        if (!component.Enabled()) {
            out += u" disabled";
        }
        if (component.Owner().ActiveControl() == &component) {
            out += u" focused";
        }
        out += u"\n";
        if (kind == Kind::kTreeView) {
            DescribeNodes(component, out);
        } else if (kind == Kind::kListBox || kind == Kind::kCheckListBox ||
                   kind == Kind::kListView) {
            DescribeItems(component, out);
        }
    }
    return out;
}

}  // namespace tolva::ui

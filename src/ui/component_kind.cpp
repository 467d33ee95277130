#include "ui/component_kind.h"

#include <array>
#include <utility>

namespace tolva::ui {
namespace {

constexpr std::array<std::pair<std::string_view, Kind>, 38> kClasses = {{
    {"TLabel", Kind::kLabel},
    {"TTntLabel", Kind::kLabel},
    {"TStaticText", Kind::kLabel},
    {"TTntStaticText", Kind::kLabel},
    {"TButton", Kind::kButton},
    {"TTntButton", Kind::kButton},
    {"TBitBtn", Kind::kButton},
    {"TTntBitBtn", Kind::kButton},
    {"TCheckBox", Kind::kCheckBox},
    {"TTntCheckBox", Kind::kCheckBox},
    {"TRadioButton", Kind::kRadioButton},
    {"TTntRadioButton", Kind::kRadioButton},
    {"TGroupBox", Kind::kGroupBox},
    {"TTntGroupBox", Kind::kGroupBox},
    {"TPanel", Kind::kPanel},
    {"TTntPanel", Kind::kPanel},
    {"TTabSheet", Kind::kTabSheet},
    {"TTntTabSheet", Kind::kTabSheet},
    {"TBevel", Kind::kBevel},
    {"TComboBox", Kind::kComboBox},
    {"TTntComboBox", Kind::kComboBox},
    {"TDriveComboBox", Kind::kComboBox},
    {"TListBox", Kind::kListBox},
    {"TTntListBox", Kind::kListBox},
    {"TDirectoryListBox", Kind::kListBox},
    {"TCheckListBox", Kind::kCheckListBox},
    {"TTntCheckListBox", Kind::kCheckListBox},
    {"TListView", Kind::kListView},
    {"TExtListViewManagement", Kind::kListView},
    {"TEdit", Kind::kEdit},
    {"TTntEdit", Kind::kEdit},
    {"TMemo", Kind::kMemo},
    {"TTntMemo", Kind::kMemo},
    {"TTreeView", Kind::kTreeView},
    {"TProgressBar", Kind::kProgressBar},
    {"TImage", Kind::kImage},
    {"TMenuItem", Kind::kMenuItem},
    {"TTntMenuItem", Kind::kMenuItem},
}};

}  // namespace

std::optional<Kind> KindOfClass(std::string_view className) {
    for (const auto& [name, kind] : kClasses) {
        if (name == className) {
            return kind;
        }
    }
    return std::nullopt;
}

std::string_view KindWord(Kind kind) {
    switch (kind) {
        case Kind::kLabel:
            return "label";
        case Kind::kButton:
            return "button";
        case Kind::kCheckBox:
            return "checkbox";
        case Kind::kRadioButton:
            return "radio";
        case Kind::kGroupBox:
            return "group";
        case Kind::kPanel:
            return "panel";
        case Kind::kTabSheet:
            return "sheet";
        case Kind::kBevel:
            return "bevel";
        case Kind::kComboBox:
            return "combo";
        case Kind::kListBox:
            return "list";
        case Kind::kCheckListBox:
            return "checklist";
        case Kind::kListView:
            return "listview";
        case Kind::kEdit:
            return "edit";
        case Kind::kMemo:
            return "memo";
        case Kind::kTreeView:
            return "tree";
        case Kind::kProgressBar:
            return "progress";
        case Kind::kImage:
            return "image";
        case Kind::kMenuItem:
            return "menuitem";
    }
    return "component";
}

bool IsContainer(Kind kind) {
    return kind == Kind::kPanel || kind == Kind::kGroupBox || kind == Kind::kTabSheet;
}

bool TakesFocus(Kind kind) {
    switch (kind) {
        case Kind::kButton:
        case Kind::kCheckBox:
        case Kind::kRadioButton:
        case Kind::kComboBox:
        case Kind::kListBox:
        case Kind::kCheckListBox:
        case Kind::kListView:
        case Kind::kEdit:
        case Kind::kMemo:
        case Kind::kTreeView:
            return true;
        default:
            return false;
    }
}

bool TakesCharacters(Kind kind) {
    switch (kind) {
        case Kind::kComboBox:
        case Kind::kListBox:
        case Kind::kCheckListBox:
        case Kind::kListView:
        case Kind::kEdit:
        case Kind::kMemo:
        case Kind::kTreeView:
            return true;
        default:
            return false;
    }
}

bool HasMnemonicCaption(Kind kind) {
    switch (kind) {
        case Kind::kLabel:
        case Kind::kButton:
        case Kind::kCheckBox:
        case Kind::kRadioButton:
        case Kind::kGroupBox:
            return true;
        default:
            return false;
    }
}

bool IsOpaque(Kind kind) {
    return kind != Kind::kLabel && kind != Kind::kBevel && kind != Kind::kMenuItem &&
           kind != Kind::kImage;
}

bool HasItems(Kind kind) {
    return kind == Kind::kComboBox || kind == Kind::kListBox || kind == Kind::kCheckListBox ||
           kind == Kind::kListView;
}

bool HoldsWideText(std::string_view className) {
    return className.starts_with("TTnt");
}

}  // namespace tolva::ui

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

struct Traits {
    std::string_view word;
    bool container;
    bool focus;
    bool characters;
    bool mnemonic;
    bool opaque;
    bool items;
};

// In the order of Kind.
constexpr std::array<Traits, 18> kTraits = {{
    // word, container, takes focus, takes characters, mnemonic caption, opaque, has items
    {"label", false, false, false, true, false, false},
    {"button", false, true, false, true, true, false},
    {"checkbox", false, true, false, true, true, false},
    {"radio", false, true, false, true, true, false},
    {"group", true, false, false, true, true, false},
    {"panel", true, false, false, false, true, false},
    {"sheet", true, false, false, false, true, false},
    {"bevel", false, false, false, false, false, false},
    {"combo", false, true, true, false, true, true},
    {"list", false, true, true, false, true, true},
    {"checklist", false, true, true, false, true, true},
    {"listview", false, true, true, false, true, true},
    {"edit", false, true, true, false, true, false},
    {"memo", false, true, true, false, true, false},
    {"tree", false, true, true, false, true, false},
    {"progress", false, false, false, false, true, false},
    {"image", false, false, false, false, false, false},
    {"menuitem", false, false, false, false, false, false},
}};

const Traits& TraitsOf(Kind kind) {
    return kTraits[static_cast<size_t>(kind)];
}

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
    return TraitsOf(kind).word;
}

bool IsContainer(Kind kind) {
    return TraitsOf(kind).container;
}

bool TakesFocus(Kind kind) {
    return TraitsOf(kind).focus;
}

bool TakesCharacters(Kind kind) {
    return TraitsOf(kind).characters;
}

bool HasMnemonicCaption(Kind kind) {
    return TraitsOf(kind).mnemonic;
}

bool IsOpaque(Kind kind) {
    return TraitsOf(kind).opaque;
}

bool HasItems(Kind kind) {
    return TraitsOf(kind).items;
}

bool HoldsWideText(std::string_view className) {
    return className.starts_with("TTnt");
}

}  // namespace tolva::ui

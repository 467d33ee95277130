#pragma once
// What a component is, whatever its class is called: the renderers draw kinds, the language files
// speak of class names ("TLabel", "TTntLabel", "TDriveComboBox", ...).

#include <cstdint>
#include <optional>
#include <string_view>

namespace tolva::ui {

enum class Kind : uint8_t {
    kLabel,
    kButton,
    kCheckBox,
    kRadioButton,
    kGroupBox,
    kPanel,
    kTabSheet,
    kBevel,
    kComboBox,
    kListBox,
    kCheckListBox,
    kListView,
    kEdit,
    kMemo,
    kTreeView,
    kProgressBar,
    kImage,
    kMenuItem,
};

// The kind of a known class name (exact spelling, as the classes are named); nullopt for others.
std::optional<Kind> KindOfClass(std::string_view className);

// A short lower-case word for the kind ("label", "checkbox", ...), as snapshots print it.
std::string_view KindWord(Kind kind);

// Holds other components.
bool IsContainer(Kind kind);
// Can hold the keyboard focus.
bool TakesFocus(Kind kind);
// Uses typed characters itself, so a plain letter is not taken as an accelerator.
bool TakesCharacters(Kind kind);
// Has a caption whose "&" marks an accelerator.
bool HasMnemonicCaption(Kind kind);
// Draws an opaque background over what lies behind it.
bool IsOpaque(Kind kind);
// Items carry the list's texts (combo, list, check list, list view rows).
bool HasItems(Kind kind);

// Classes named "TTnt..." keep their texts in UTF-16; the others hold 8-bit text in the system's
// ANSI code page, so a text given to them is only what that code page can say.
bool HoldsWideText(std::string_view className);

}  // namespace tolva::ui

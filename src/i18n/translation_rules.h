#pragma once
// Which texts of a component a language file carries, chosen by the component's class name in
// lower case (the CLASS attribute of an ITEM). Classes without a rule (edits, memos, trees,
// images, progress bars, ...) carry nothing.
//
// Whether a text is 8-bit or UTF-16 is the component's own affair: the forms model keeps the texts
// of 8-bit classes to what the ANSI code page can say (ui::Application::TextFor).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ui/component.h"

namespace tolva::i18n {

// Where an ITEM's CAPTION goes.
enum class TextPlace : uint8_t {
    kCaption,  // the caption or text
    kItems,    // the item list, one item per line; the selected index stays
    kColumns,  // the column captions, one per line; the selected index stays
};

struct TranslationRule {
    TextPlace place;
    bool itemStates;  // item lists: each item's checked and enabled states stay as well
    bool trimmed;     // the exported caption loses leading and trailing spaces and control codes
    bool exported;    // false: the rule of a base class, named only by hand-written files
};

// The rule of a lower-case class name, compared exactly ("ttntlabel", not "TTntLabel").
std::optional<TranslationRule> RuleOfClass(std::string_view lowerClassName);

// The component's class name in lower case, as the CLASS attribute holds it.
std::string LowerClassName(const ui::Component& component);

// The rule an ITEM may be applied with: the one of the component's class, or for a list view
// whose class has none, the rule of the base class of every list view ("tcustomlistview").
std::optional<TranslationRule> ImportRuleOf(const ui::Component& component);

// Leading and trailing spaces and control characters (everything up to U+0020) removed.
std::u16string TrimText(std::u16string_view text);

}  // namespace tolva::i18n

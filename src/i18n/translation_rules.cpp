#include "i18n/translation_rules.h"

#include <array>
#include <utility>

#include "util/text.h"

namespace tolva::i18n {

namespace {

constexpr TranslationRule kCaption{TextPlace::kCaption, false, false, true};
constexpr TranslationRule kTrimmedCaption{TextPlace::kCaption, false, true, true};
constexpr TranslationRule kItemList{TextPlace::kItems, false, true, true};
constexpr TranslationRule kCheckList{TextPlace::kItems, true, true, true};
constexpr TranslationRule kColumns{TextPlace::kColumns, false, true, true};
constexpr TranslationRule kBaseColumns{TextPlace::kColumns, false, true, false};

constexpr char kListViewBase[] = "tcustomlistview";

constexpr std::array<std::pair<std::string_view, TranslationRule>, 24> kRules = {{
    {"tlabel", kCaption},           {"tradiobutton", kCaption},
    {"tbutton", kCaption},          {"tcheckbox", kCaption},
    {"ttabsheet", kCaption},        {"tgroupbox", kCaption},
    {"tpanel", kTrimmedCaption},    {"tmenuitem", kCaption},
    {"tcombobox", kItemList},       {"tlistbox", kItemList},
    {"tchecklistbox", kCheckList},  {"textlistviewmanagement", kColumns},
    {kListViewBase, kBaseColumns},  {"ttntlabel", kCaption},
    {"ttntradiobutton", kCaption},  {"ttntmenuitem", kCaption},
    {"ttntbutton", kCaption},       {"ttntcheckbox", kCaption},
    {"ttnttabsheet", kCaption},     {"ttntgroupbox", kCaption},
    {"ttntpanel", kTrimmedCaption}, {"ttntcombobox", kItemList},
    {"ttntlistbox", kItemList},     {"ttntchecklistbox", kCheckList},
}};

}  // namespace

std::optional<TranslationRule> RuleOfClass(std::string_view lowerClassName) {
    for (const auto& [name, rule] : kRules) {
        if (name == lowerClassName) {
            return rule;
        }
    }
    return std::nullopt;
}

std::string LowerClassName(const ui::Component& component) {
    return util::LowerCase(component.ClassName());
}

std::optional<TranslationRule> ImportRuleOf(const ui::Component& component) {
    std::optional<TranslationRule> rule = RuleOfClass(LowerClassName(component));
    if (!rule && component.GetKind() == ui::Kind::kListView) {
        rule = RuleOfClass(kListViewBase);
    }
    return rule;
}

std::u16string TrimText(std::u16string_view text) {
    size_t start = 0;
    size_t end = text.size();
    while (start < end && text[start] <= u' ') {
        ++start;
    }
    while (end > start && text[end - 1] <= u' ') {
        --end;
    }
    return std::u16string(text.substr(start, end - start));
}

}  // namespace tolva::i18n

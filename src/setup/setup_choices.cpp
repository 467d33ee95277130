#include "setup/setup_choices.h"

#include "setup/component_tree.h"
#include "setup/country_list.h"
#include "setup/user_details_check.h"
#include "util/text.h"
#include "util/utf8.h"

namespace tolva::setup {
namespace {

using util::SameText;

struct FinishTick {
    const char* name;
    std::optional<bool> SetupChoices::*field;
};

constexpr FinishTick kFinishTicks[] = {
    {"console", &SetupChoices::runConfig},
    {"wizard", &SetupChoices::runTutorial},
    {"quickstart", &SetupChoices::showTutorial},
    {"webmailguide", &SetupChoices::openWebmailGuide},
};

// The items of a comma-separated list, trimmed; each may start with "!" (left out).
struct ListItem {
    std::string name;
    bool included = true;
};

std::vector<ListItem> ListItems(std::string_view text) {
    std::vector<ListItem> items;
    for (const std::string& piece : util::SplitText(text, ',')) {
        std::string name = util::Trim(piece);
        if (name.empty()) {
            continue;
        }
        ListItem item;
        if (name.front() == '!') {
            item.included = false;
            name = util::Trim(std::string_view(name).substr(1));
        }
        item.name = std::move(name);
        items.push_back(std::move(item));
    }
    return items;
}

bool ReadComponents(std::string_view text, SetupChoices& choices, std::string& error) {
    std::vector<ComponentChoice> list;
    for (const ListItem& item : ListItems(text)) {
        const int32_t key = ComponentKeyOfName(item.name);
        if (key < 0) {
            error = "unknown component \"" + item.name + "\"";
            return false;
        }
        list.push_back({key, item.included});
    }
    choices.components = std::move(list);
    return true;
}

bool ReadFinish(std::string_view text, SetupChoices& choices, std::string& error) {
    SetupChoices read;
    for (const ListItem& item : ListItems(text)) {
        const FinishTick* found = nullptr;
        for (const FinishTick& tick : kFinishTicks) {
            if (SameText(item.name, tick.name)) {
                found = &tick;
            }
        }
        if (found == nullptr) {
            error = "unknown Finished page action \"" + item.name +
                    "\" (console, wizard, quickstart or webmailguide)";
            return false;
        }
        read.*found->field = item.included;
    }
    for (const FinishTick& tick : kFinishTicks) {
        choices.*tick.field = read.*tick.field;
    }
    return true;
}

bool ReadCountry(std::string_view text, SetupChoices& choices, std::string& error) {
    const std::string wanted = util::Trim(text);
    for (std::u16string_view country : kCountries) {
        const std::string name = util::WideToUTF8(country);
        if (SameText(name, wanted)) {
            choices.country = name;
            return true;
        }
    }
    if (wanted.empty()) {
        choices.country = "";
        return true;
    }
    error = "unknown country \"" + wanted + "\"";
    return false;
}

bool ReadType(std::string_view text, SetupChoices& choices, std::string& error) {
    const std::string type = util::Trim(text);
    if (SameText(type, "standard")) {
        choices.type = SetupType::kStandard;
    } else if (SameText(type, "advanced")) {
        choices.type = SetupType::kAdvanced;
    } else {
        error = "unknown setup type \"" + type + "\" (standard or advanced)";
        return false;
    }
    return true;
}

ChoiceOutcome Outcome(bool read) {
    return read ? ChoiceOutcome::kSet : ChoiceOutcome::kBadValue;
}

}  // namespace

void SetupChoices::TakeUnsetFrom(const SetupChoices& other) {
    auto take = [](auto& mine, const auto& theirs) {
        if (!mine) {
            mine = theirs;
        }
    };
    take(installDir, other.installDir);
    take(type, other.type);
    take(components, other.components);
    take(name, other.name);
    take(email, other.email);
    take(company, other.company);
    take(country, other.country);
    take(database, other.database);
    take(language, other.language);
    take(runConfig, other.runConfig);
    take(runTutorial, other.runTutorial);
    take(showTutorial, other.showTutorial);
    take(openWebmailGuide, other.openWebmailGuide);
}

ChoiceOutcome SetChoice(SetupChoices& choices, std::string_view key, std::string_view value,
                        std::string& error) {
    if (SameText(key, "DIR")) {
        if (util::Trim(value).empty()) {
            error = "no installation folder";
            return ChoiceOutcome::kBadValue;
        }
        choices.installDir = util::Trim(value);
        return ChoiceOutcome::kSet;
    }
    if (SameText(key, "TYPE")) {
        return Outcome(ReadType(value, choices, error));
    }
    if (SameText(key, "COMPONENTS")) {
        return Outcome(ReadComponents(value, choices, error));
    }
    if (SameText(key, "NAME")) {
        if (!HasText(util::UTF8ToWide(value))) {
            error = "the name is empty";
            return ChoiceOutcome::kBadValue;
        }
        choices.name = std::string(value);
        return ChoiceOutcome::kSet;
    }
    if (SameText(key, "EMAIL")) {
        if (!PlausibleEmail(util::UTF8ToWide(value))) {
            error = "\"" + std::string(value) + "\" is not an e-mail address";
            return ChoiceOutcome::kBadValue;
        }
        choices.email = std::string(value);
        return ChoiceOutcome::kSet;
    }
    if (SameText(key, "COMPANY")) {
        choices.company = std::string(value);
        return ChoiceOutcome::kSet;
    }
    if (SameText(key, "COUNTRY")) {
        return Outcome(ReadCountry(value, choices, error));
    }
    if (SameText(key, "DATABASE")) {
        choices.database = std::string(value);
        return ChoiceOutcome::kSet;
    }
    if (SameText(key, "LANG")) {
        if (util::Trim(value).empty()) {
            error = "no language";
            return ChoiceOutcome::kBadValue;
        }
        choices.language = util::Trim(value);
        return ChoiceOutcome::kSet;
    }
    if (SameText(key, "FINISH")) {
        return Outcome(ReadFinish(value, choices, error));
    }
    return ChoiceOutcome::kUnknownKey;
}

std::optional<std::string> ChoiceText(const SetupChoices& choices, std::string_view key) {
    if (SameText(key, "DIR")) {
        return choices.installDir;
    }
    if (SameText(key, "TYPE")) {
        if (!choices.type) {
            return std::nullopt;
        }
        return *choices.type == SetupType::kAdvanced ? "advanced" : "standard";
    }
    if (SameText(key, "COMPONENTS")) {
        if (!choices.components) {
            return std::nullopt;
        }
        std::string list;
        for (const ComponentChoice& choice : *choices.components) {
            list += (list.empty() ? "" : ",") + std::string(choice.selected ? "" : "!") +
                    util::WideToUTF8(ComponentName(choice.key));
        }
        return list;
    }
    if (SameText(key, "NAME")) {
        return choices.name;
    }
    if (SameText(key, "EMAIL")) {
        return choices.email;
    }
    if (SameText(key, "COMPANY")) {
        return choices.company;
    }
    if (SameText(key, "COUNTRY")) {
        return choices.country;
    }
    if (SameText(key, "DATABASE")) {
        return choices.database;
    }
    if (SameText(key, "LANG")) {
        return choices.language;
    }
    if (SameText(key, "FINISH")) {
        std::string list;
        for (const FinishTick& tick : kFinishTicks) {
            if (const std::optional<bool>& ticked = choices.*tick.field) {
                list += (list.empty() ? "" : ",") + std::string(*ticked ? "" : "!") + tick.name;
            }
        }
        if (list.empty()) {
            return std::nullopt;
        }
        return list;
    }
    return std::nullopt;
}

}  // namespace tolva::setup

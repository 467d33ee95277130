#pragma once
// The choices of the wizard's pages made without the wizard: on the command line or in an answer
// file. A choice left unset keeps what the wizard would show. Texts are UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolva::setup {

enum class SetupType { kStandard, kAdvanced };

// One entry of a component list: the component or group by its key, to be selected or left out.
struct ComponentChoice {
    int32_t key = 0;
    bool selected = true;
    bool operator==(const ComponentChoice&) const = default;
};

struct SetupChoices {
    std::optional<std::string> installDir;  // DIR
    std::optional<SetupType> type;          // TYPE
    // COMPONENTS, in the order given; applied one after the other to the wizard's preselection.
    std::optional<std::vector<ComponentChoice>> components;
    std::optional<std::string> name;      // NAME
    std::optional<std::string> email;     // EMAIL
    std::optional<std::string> company;   // COMPANY
    std::optional<std::string> country;   // COUNTRY, spelt as the country list spells it
    std::optional<std::string> database;  // DATABASE, a connection string
    std::optional<std::string> language;  // LANG, a language name as the language files mark it
    // FINISH: the Finished page's ticks.
    std::optional<bool> runConfig;         // "console": Open Administration Interface
    std::optional<bool> runTutorial;       // "wizard": Run Installation Wizard
    std::optional<bool> showTutorial;      // "quickstart": View Quick Start
    std::optional<bool> openWebmailGuide;  // "webmailguide": View WebMail Guide

    bool operator==(const SetupChoices&) const = default;
    // Every choice set here stays; the others are taken from other (the file under the command
    // line).
    void TakeUnsetFrom(const SetupChoices& other);
    bool Empty() const { return *this == SetupChoices{}; }
};

enum class ChoiceOutcome { kSet, kUnknownKey, kBadValue };

// Sets the choice a key names (the switch's name without "/" and "=", or the answer file's key;
// letter case aside) from its text. kBadValue comes with the reason in error: a type other than
// "standard" or "advanced", an unknown component, Finished-page tick or country, a blank name, an
// implausible e-mail address, an empty folder.
ChoiceOutcome SetChoice(SetupChoices& choices, std::string_view key, std::string_view value,
                        std::string& error);

// The keys of the choices in the order an answer file lists them.
inline constexpr std::string_view kChoiceKeys[] = {"LANG",     "DIR",   "TYPE",    "COMPONENTS",
                                                   "NAME",     "EMAIL", "COMPANY", "COUNTRY",
                                                   "DATABASE", "FINISH"};

// The text of a choice as SetChoice reads it back; nothing when it is unset.
std::optional<std::string> ChoiceText(const SetupChoices& choices, std::string_view key);

}  // namespace tolva::setup

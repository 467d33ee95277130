#include "setup/wizard_choices.h"

#include "setup/component_tree.h"
#include "setup/package_table.h"
#include "setup/user_details_check.h"
#include "util/folder_path.h"
#include "util/utf8.h"

namespace tolva::setup {
namespace {

constexpr size_t kLongestFolder = 255;

std::u16string Wide(const std::optional<std::string>& text, std::u16string current) {
    return text ? util::UTF8ToWide(*text) : current;
}

std::string Utf8(const std::u16string& text) {
    return util::WideToUTF8(text);
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool FolderCanBeMade(const platform::FileSystem& files, std::string_view folder,
                     std::string& reason) {
    const std::string path = util::WithTrailingBackslash(folder);
    if (path.size() < 3 || !IsLetter(path[0]) || path[1] != ':' || path[2] != '\\') {
        reason = "\"" + std::string(folder) + "\" is not a full path with a drive letter";
        return false;
    }
    if (path.size() > kLongestFolder) {
        reason = "\"" + std::string(folder) + "\" is longer than 255 characters";
        return false;
    }
    for (size_t i = 3; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < ' ' ||
            std::string_view("<>:\"/|?*").find(static_cast<char>(c)) != std::string_view::npos) {
            reason = "\"" + std::string(folder) + "\" holds a character Windows refuses in names";
            return false;
        }
        if (c == '\\' && path[i - 1] == '\\') {
            reason = "\"" + std::string(folder) + "\" holds an empty folder name";
            return false;
        }
    }
    if (!files.FolderExists(path.substr(0, 3))) {
        reason = "drive " + path.substr(0, 2) + " does not exist";
        return false;
    }
    for (size_t end = path.find('\\', 3); end != std::string::npos;
         end = path.find('\\', end + 1)) {
        const std::string part = path.substr(0, end);
        if (files.FileExists(part)) {
            reason = "\"" + part + "\" is a file, not a folder";
            return false;
        }
        if (!files.FolderExists(part)) {
            break;
        }
    }
    return true;
}

bool ApplyChoices(TMainForm& form, const SetupChoices& choices, const platform::FileSystem& files,
                  const platform::System& system, std::string& error, ChoiceNotes* notes) {
    SetupState& state = form.State;
    if (choices.installDir) {
        const std::string folder = system.WideToAnsi(util::UTF8ToWide(*choices.installDir));
        std::string reason;
        if (!FolderCanBeMade(files, folder, reason)) {
            error = "DIR: the folder cannot be made: " + Utf8(system.AnsiToWide(reason));
            return false;
        }
        state.InstallDir = util::WithTrailingBackslash(folder);
        form.ShowInstallFolder();
    }

    if (choices.name || choices.email || choices.company || choices.country) {
        const net::SetupMailDetails shown = form.UserDetails();
        form.SetUserDetails(Wide(choices.name, shown.name), Wide(choices.email, shown.email),
                            Wide(choices.company, shown.company),
                            Wide(choices.country, shown.country));
    }

    const bool modeShown = form.NewSetupMode->Visible();
    std::optional<SetupType> type = choices.type;
    if (!type && choices.database && modeShown) {
        type = SetupType::kAdvanced;
    }
    if (type && !modeShown) {
        if (notes != nullptr) {
            notes->typeIgnored = true;
        }
    } else if (type) {
        form.SetupModeBasic->SetChecked(*type == SetupType::kStandard);
        form.SetupModeAdvanced->SetChecked(*type == SetupType::kAdvanced);
    }
    if (choices.database) {
        state.DatabaseConnectionString = system.WideToAnsi(util::UTF8ToWide(*choices.database));
    }

    form.PreselectComponents();
    if (choices.components) {
        for (const ComponentChoice& choice : *choices.components) {
            ChooseComponent(*form.ComponentsList, choice.key, choice.selected);
        }
    }
    form.StoreComponentChoice();
    ApplyFinishChoices(form, choices);
    return true;
}

void ApplyFinishChoices(TMainForm& form, const SetupChoices& choices) {
    const std::pair<const std::optional<bool>&, ui::Component*> ticks[] = {
        {choices.runConfig, form.RunConfig},
        {choices.runTutorial, form.RunTutorial},
        {choices.showTutorial, form.ShowTutorial},
        {choices.openWebmailGuide, form.OpenWMGuideCheckbox},
    };
    for (const auto& [tick, box] : ticks) {
        // An upgrade's page disables the installation wizard: the choice cannot tick it.
        if (tick && box->Enabled()) {
            box->SetChecked(*tick);
        }
    }
}

bool UnattendedChoicesComplete(const TMainForm& form, std::string& error) {
    const net::SetupMailDetails details = form.UserDetails();
    if (!HasText(details.name)) {
        error = "no name: give NAME";
        return false;
    }
    if (!PlausibleEmail(details.email)) {
        error = "no e-mail address: give EMAIL";
        return false;
    }
    if (form.NewSetupMode->Visible() && form.SetupModeAdvanced->Checked() &&
        form.State.DatabaseConnectionString.empty()) {
        error = "an advanced installation needs its database connection: give DATABASE";
        return false;
    }
    return true;
}

SetupChoices CurrentChoices(const TMainForm& form, const platform::System& system,
                            std::string language) {
    SetupChoices choices;
    const SetupState& state = form.State;
    if (!language.empty()) {
        choices.language = std::move(language);
    }
    choices.installDir = Utf8(system.AnsiToWide(state.InstallDir));
    if (form.NewSetupMode->Visible()) {
        const bool advanced = form.SetupModeAdvanced->Checked();
        choices.type = advanced ? SetupType::kAdvanced : SetupType::kStandard;
        if (advanced) {
            choices.database = Utf8(system.AnsiToWide(state.DatabaseConnectionString));
        }
    }
    std::vector<ComponentChoice> components;
    for (int32_t key = 0; key < static_cast<int32_t>(kComponentCount); ++key) {
        components.push_back({key, form.IsComponentSelected(key)});
    }
    choices.components = std::move(components);
    const net::SetupMailDetails details = form.UserDetails();
    choices.name = Utf8(details.name);
    choices.email = Utf8(details.email);
    choices.company = Utf8(details.company);
    choices.country = Utf8(details.country);
    choices.runConfig = form.RunConfig->Checked();
    choices.runTutorial = form.RunTutorial->Checked();
    choices.showTutorial = form.ShowTutorial->Checked();
    choices.openWebmailGuide = form.OpenWMGuideCheckbox->Checked();
    return choices;
}

}  // namespace tolva::setup

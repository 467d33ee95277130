#include "winsys/registration.h"

#include <utility>
#include <vector>

#include "archive/delete_folder_tree.h"
#include "upgrade/service_table.h"
#include "util/product.h"
#include "util/text.h"
#include "winsys/shortcuts.h"

namespace tolva::winsys {
namespace {

using i18n::UIString;

struct Shortcut {
    std::string folder;
    std::string name;
    std::string target;
    std::string arguments;
    int iconIndex = kMainIcon;
};

// The shortcuts of the installation in the order they are made.
std::vector<Shortcut> ShortcutTable(const platform::Platform& platform, const Registration& input,
                                    const i18n::TUIStrings& strings, const std::string& group) {
    const platform::System& system = *platform.system;
    const std::string& folder = input.installFolder;
    const std::string setupProgram = folder + input.setupProgramName;
    auto name = [&](UIString key) { return ShellItemName(system.WideToAnsi(strings[key])); };
    std::vector<Shortcut> table;

    if (!group.empty()) {
        // One caption per line of LinkDesc, for these targets in this order.
        static constexpr const char* kDocumentTargets[] = {
            "config.exe",   "doc\\readme.txt",     "doc\\manual.chm",
            "dnsquery.exe", "doc\\quickstart.pdf", "doc\\webmailguide.pdf"};
        const std::vector<std::string> lines =
            util::SplitText(system.WideToAnsi(strings[i18n::LinkDesc]), '\n');
        for (size_t line = 0; line < std::size(kDocumentTargets) && line < lines.size(); ++line) {
            table.push_back(
                {group, ShellItemName(util::Trim(lines[line])), folder + kDocumentTargets[line]});
        }
        table.push_back(
            {group, name(i18n::UninstallDesc), setupProgram, "/UNINSTALL", kUninstallIcon});
        if (input.mode == upgrade::RunMode::kApplication) {
            // One caption per service index.
            constexpr UIString kProgramCaptions[upgrade::kServiceCount] = {
                i18n::TolvaSMTPLinkDesc, i18n::TolvaPOP3LinkDesc, i18n::TolvaControlLinkDesc,
                i18n::TolvaIMLinkDesc, i18n::TolvaGWLinkDesc};
            for (int index = 0; index < upgrade::kServiceCount; ++index) {
                table.push_back({group, name(kProgramCaptions[index]),
                                 folder + upgrade::ServiceRowAt(index)->executable});
            }
        }
        if (input.webmail) {
            table.push_back(
                {group, name(i18n::cTolvaWebmail), setupProgram, "/WEBMAILLOGON", kWebIcon});
            table.push_back(
                {group, name(i18n::cTolvaWebmail2), setupProgram, "/WEBMAIL2LOGON", kWebIcon});
        }
        table.push_back(
            {group, name(i18n::cTolvaWebAdmin), setupProgram, "/WEBADMINLOGON", kWebIcon});
    }
    const std::string console = folder + "config.exe";
    if (input.desktopIcon) {
        const std::string desktop = GetDesktopFolder(*platform.shell);
        if (!desktop.empty()) {
            table.push_back({desktop, name(i18n::ServerDesktopTitle), console});
        }
    }
    if (input.quickLaunchIcon) {
        table.push_back({GetQuickLaunchFolder(platform, input.setupFolder),
                         name(i18n::ServerDesktopTitle), console});
    }
    return table;
}

}  // namespace

std::string UninstallCommand(std::string_view setupProgram) {
    std::string path(setupProgram);
    if (path.find(' ') != std::string::npos) {
        path = "\"" + path + "\"";
    }
    return path + " /UNINSTALL";
}

bool RegisterShortcutsAndEntries(const platform::Platform& platform, ServiceControlWindow& window,
                                 SetupRegistries registries, const Registration& input,
                                 const i18n::TUIStrings& strings) {
    const platform::System& system = *platform.system;
    window.ShowProgressText(strings[i18n::cCreatingIcons]);
    const std::string groupName = system.WideToAnsi(strings[i18n::cName]);

    // The group of the current user and the older group name go; the all-users group is made anew.
    const std::string programs = registries.shellFolders.ReadSectionString("Programs");
    if (!programs.empty()) {
        archive::DeleteFolderTree(*platform.files, GroupFolder(programs, groupName));
    }
    // Without an all-users folder there is no group, rather than links with bare names in whatever
    // folder is current.
    const std::string commonPrograms =
        AllUsersProgramsFolder(*platform.shell, registries.shellFolders);
    std::string group;
    if (!commonPrograms.empty()) {
        archive::DeleteFolderTree(
            *platform.files,
            GroupFolder(commonPrograms, system.WideToAnsi(strings[i18n::cOldName])));
        group = GroupFolder(commonPrograms, groupName);
        archive::DeleteFolderTree(*platform.files, group);
        (void)platform.files->CreateFolders(group);
    }

    for (const Shortcut& shortcut : ShortcutTable(platform, input, strings, group)) {
        CreateShortcut(*platform.shell, shortcut.target, shortcut.folder + shortcut.name + ".lnk",
                       shortcut.arguments, shortcut.iconIndex);
    }

    const std::string version = kSetupVersion;
    const std::string setupProgram = input.installFolder + input.setupProgramName;
    const std::pair<TAdvancedRegistry*, std::vector<std::pair<const char*, std::string>>> keys[] = {
        {&registries.uninstallEntry,
         {{"DisplayName", groupName + " " + version},
          {"UninstallString", UninstallCommand(setupProgram)},
          {"DisplayIcon", input.installFolder + "config.exe"},
          {"DisplayVersion", version},
          {"InstallLocation", input.installFolder},
          {"NoModify", "1"},
          {"NoRepair", "1"},
          {"Publisher", kVendorName},
          {"URLInfoAbout", kVendorWebAddress}}},
        {&registries.productKey,
         {{"InstallDir", input.installFolder},
          {"Name", system.WideToAnsi(input.userName)},
          {"Email", system.WideToAnsi(input.email)},
          {"Company", system.WideToAnsi(input.company)},
          {"Country", system.WideToAnsi(input.country)},
          {"Version", version}}},
    };
    for (const auto& [component, values] : keys) {
        for (const auto& [name, value] : values) {
            const platform::Status written = component->WriteSectionString(name, value);
            if (!written) {
                platform::MessageBoxRequest box;
                box.text = strings[i18n::cRegistryError] +
                           system.AnsiToWide(system.ErrorText(written.code())) +
                           strings[i18n::cErrorText];
                box.caption = strings[i18n::cError];
                box.buttons = platform::DialogButtons::kOk;
                box.icon = platform::DialogIcon::kError;
                box.taskModal = true;
                (void)window.ShowMessageBox(box);
                return false;
            }
        }
    }
    return true;
}

}  // namespace tolva::winsys

#include "winsys/shortcuts.h"

#include "util/folder_path.h"

namespace tolva::winsys {
namespace {

constexpr char kQuickLaunchPath[] = "Microsoft\\Internet Explorer\\Quick Launch\\";
constexpr char kNotInFileNames[] = "\\/:*?\"<>|";

}  // namespace

std::string GetDesktopFolder(const platform::Shell& shell) {
    return shell.FolderPath(platform::SpecialFolder::kDesktop);
}

std::string GetQuickLaunchFolder(const platform::Platform& platform, std::string_view setupFolder) {
    std::string folder = platform.system->TempFolder();
    if (folder.empty()) {
        folder = std::string(setupFolder);
    }
    std::string appData;
    const std::string key = std::string(kShellFoldersArea) + "\\" + kShellFoldersSection;
    if (platform.registry->ReadString(platform::RegistryRoot::kCurrentUser, key, "AppData", appData)
            .ok() &&
        !appData.empty()) {
        folder = appData;
    }
    return util::WithTrailingBackslash(folder) + kQuickLaunchPath;
}

void CreateShortcut(platform::Shell& shell, std::string_view target, std::string_view linkFile,
                    std::string_view arguments, int iconIndex) {
    platform::ShellLink link;
    link.linkFile = std::string(linkFile);
    link.target = std::string(target);
    link.arguments = std::string(arguments);
    if (iconIndex != 0) {
        link.iconFile = link.target;
        link.iconIndex = iconIndex;
    }
    (void)shell.CreateLink(link);
}

std::string AllUsersProgramsFolder(const platform::Shell& shell, TAdvancedRegistry& shellFolders) {
    shellFolders.SetRegistryRootKey(platform::RegistryRoot::kLocalMachine);
    const std::string folder = shellFolders.ReadSectionString("Common Programs");
    return folder.empty() ? shell.FolderPath(platform::SpecialFolder::kCommonPrograms) : folder;
}

std::string ShellItemName(std::string_view caption) {
    std::string name(caption);
    for (char& c : name) {
        if (std::string_view(kNotInFileNames).find(c) != std::string_view::npos) {
            c = '-';
        }
    }
    if (name.find_first_not_of(". ") == std::string::npos) {
        return "-";
    }
    return name;
}

std::string GroupFolder(std::string_view programsFolder, std::string_view caption) {
    return util::WithTrailingBackslash(programsFolder) + ShellItemName(caption) + "\\";
}

}  // namespace tolva::winsys

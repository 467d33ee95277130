#pragma once
// The shell folders the installer writes shortcuts into, the shortcut writer, and the names and
// registry places the shortcuts and the uninstall entry share with the uninstall.

#include <string>
#include <string_view>

#include "i18n/ui_strings.h"
#include "platform/platform.h"
#include "winsys/advanced_registry.h"

namespace tolva::winsys {

// The per-user shell folders ("Programs") and, under HKEY_LOCAL_MACHINE, the all-users ones
// ("Common Programs").
inline constexpr char kShellFoldersArea[] =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
inline constexpr char kShellFoldersSection[] = "Shell Folders";
// The uninstall entry the system's program list reads, under HKEY_LOCAL_MACHINE.
inline constexpr char kUninstallArea[] =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr char kUninstallSection[] = "Tolva";

// The setup program's icon groups, by resource order.
inline constexpr int kMainIcon = 0;
inline constexpr int kUninstallIcon = 1;
inline constexpr int kWebIcon = 2;

// The main window's registry components the registration and the uninstall work with.
struct SetupRegistries {
    // AdvancedRegistry (kShellFoldersArea, kShellFoldersSection): the shell folders, first of the
    // current user; switched to HKEY_LOCAL_MACHINE for the all-users folders and left so.
    TAdvancedRegistry& shellFolders;
    // AdvancedRegistryInstall (HKEY_LOCAL_MACHINE, kUninstallArea, kUninstallSection).
    TAdvancedRegistry& uninstallEntry;
    // PathRegistry: the product key.
    TAdvancedRegistry& productKey;
};

// The user's desktop folder with a trailing backslash; empty when the shell has none.
std::string GetDesktopFolder(const platform::Shell& shell);
// "Microsoft\Internet Explorer\Quick Launch\" below the user's "AppData" shell folder, or below
// the temporary folder (the setup folder when that is empty) when the user has none.
std::string GetQuickLaunchFolder(const platform::Platform& platform, std::string_view setupFolder);
// Links linkFile to target with the arguments (none when empty) and the target's icon of that
// index (the link's default icon for 0). Failures are silent; an existing link is replaced.
void CreateShortcut(platform::Shell& shell, std::string_view target, std::string_view linkFile,
                    std::string_view arguments, int iconIndex);

// The all-users Programs folder the Start-menu group goes into: the registry's "Common Programs"
// value, read through shellFolders switched to HKEY_LOCAL_MACHINE (and left so), or, without it,
// the folder the shell names. Empty when neither knows one.
std::string AllUsersProgramsFolder(const platform::Shell& shell, TAdvancedRegistry& shellFolders);

// A caption (in the system's code page) as the name of a link or group folder: the characters a
// file name cannot hold (a "/" in a caption, say) replaced by "-", and a name of dots and blanks
// only (which would address the parent folder) as "-". So a caption never leads out of the folder
// the link or group goes into.
std::string ShellItemName(std::string_view caption);
// The group folder of that caption in a Programs folder, with a trailing backslash.
std::string GroupFolder(std::string_view programsFolder, std::string_view caption);

}  // namespace tolva::winsys

#pragma once
// The uninstall run ("/UNINSTALL"): the services, shortcuts, registry entries, COM registrations,
// program files and program folders of the installation the setup program was started from go;
// the server's data (configuration, mail, logs) stays.
//
// Everything removed from the disk lies below the setup folder, by fixed names, and the services,
// links and registry entries removed are the machine's one installation's. So only the installation
// may be uninstalled from: the folder the product key records (InstallDir), or, when the key
// records none, a folder that holds an installation's settings file. Any other folder is refused (a
// copy of setup.exe in a downloads folder must neither empty that folder nor remove the real
// installation's services), and so is a folder that can never be an installation folder (a drive
// root, the Windows folder, the Program Files folder itself).

#include <string>

#include "i18n/ui_strings.h"
#include "platform/platform.h"
#include "winsys/service_control.h"
#include "winsys/shortcuts.h"

namespace tolva::winsys {

struct UninstallFolders {
    // The folder of the running setup program, with a trailing backslash.
    std::string setupFolder;
    // The settings store's root folder, with a trailing backslash; the anti-virus engine's setup
    // library lies below it.
    std::string rootFolder;
    // The folders of the wizards, spell checker and anti-virus packages, relative to the setup
    // folder, with a trailing backslash ("wizards\").
    std::string wizardsFolder;
    std::string aspellFolder;
    std::string antivirusFolder;
};

class Uninstall {
public:
    Uninstall(const platform::Platform& platform, ServiceControlWindow& window,
              SetupRegistries registries, UninstallFolders folders,
              const i18n::TUIStrings& strings = i18n::UIStrings());

    // The whole run, after the user confirmed it. False when the setup folder was refused: the
    // refusal was shown and nothing was changed.
    bool RunUninstall();
    // The program folders under the setup folder, the anti-virus engine's own uninstall before its
    // folder.
    void RemoveProgramFolders();
    // Loads the engine's setup library from the root folder, calls its uninstall and unloads it.
    void UninstallAntivirusEngine();

private:
    // Whether the setup folder may be uninstalled from.
    bool SetupFolderAllowed() const;
    void RemoveProgramFolder(std::string_view relative);
    void StopPrograms();
    void RemoveShortcuts();
    void RemoveProgramFiles();
    void ShowBox(std::u16string text, std::u16string caption, platform::DialogIcon icon);

    const platform::Platform& platform_;
    ServiceControlWindow& window_;
    SetupRegistries registries_;
    UninstallFolders folders_;
    const i18n::TUIStrings& strings_;
    ServiceControl services_;
};

}  // namespace tolva::winsys

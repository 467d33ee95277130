#pragma once
// The registration step of the install sequence: the Start-menu group with its shortcuts, the
// Desktop and Quick Launch shortcuts, the uninstall entry and the product registry values.

#include <string>

#include "i18n/ui_strings.h"
#include "platform/platform.h"
#include "upgrade/program_state.h"
#include "winsys/service_control_window.h"
#include "winsys/shortcuts.h"

namespace tolva::winsys {

struct Registration {
    // With a trailing backslash.
    std::string installFolder;
    std::string setupFolder;
    // The file name of the running setup program; its copy in the installation folder is the one
    // the uninstall entry and the web shortcuts run.
    std::string setupProgramName;
    upgrade::RunMode mode = upgrade::RunMode::kService;
    // Components chosen.
    bool webmail = false;
    bool desktopIcon = false;
    bool quickLaunchIcon = false;
    // The user-details page.
    std::u16string userName;
    std::u16string email;
    std::u16string company;
    std::u16string country;
};

// False when a registry value could not be written: the registry error box was shown and the
// installation must end (the caller ends the process; nothing is logged).
bool RegisterShortcutsAndEntries(const platform::Platform& platform, ServiceControlWindow& window,
                                 SetupRegistries registries, const Registration& input,
                                 const i18n::TUIStrings& strings = i18n::UIStrings());

// UninstallString: the setup program, a blank and "/UNINSTALL"; the path is quoted when it holds a
// blank, so that Windows cannot run a shorter path ("C:\Program.exe") instead.
std::string UninstallCommand(std::string_view setupProgram);

}  // namespace tolva::winsys

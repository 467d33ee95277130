#pragma once
// The state of one setup run, owned by the main window for the whole run. Start-up fills it, the
// wizard pages change it, the install sequence reads it. The component selection is not here: it
// lives in the component tree of the main window.

#include <array>
#include <cstdint>
#include <string>

#include "upgrade/service_table.h"
#include "util/product.h"
#include "winsys/service_control.h"

namespace tolva::setup {

// Folder paths end in a backslash. Strings are 8-bit in the system's code page.
struct SetupState {
    // Current wizard page, 0 to 8; changed only by the wizard's Back and Next.
    int32_t PageIndex = 0;
    // "<product> <version> Setup": window caption, application title, subject of the
    // notification mail.
    std::string SetupTitle = std::string(kProductName) + " " + kSetupVersion + " Setup";
    // Value Version of the product registry key; empty when there is no earlier installation.
    std::string OldVersion;
    // Value InstallDir of the product registry key when it is not empty.
    std::string PreviousInstallDir;

    // The folder of the running setup program.
    std::string SetupFolder;
    // Destination folder: shown on the Install folder page, changed by Browse, fixed when the
    // install sequence starts.
    std::string InstallDir;
    // Temporary folder the data archives are extracted into and downloads are moved into.
    std::string ExtractDir;
    // Folder of the setup log "setup\setup.log"; the install sequence sets it to the
    // installation's "logs" folder while it is still empty.
    std::string LogDir;

    // Console view of a new installation: "advanced.xml" when true, "basic.xml" when false.
    bool AdvancedInterface = true;

    // Components the user left out last time (registry values of the same names).
    bool NoInstallIM = false;
    bool NoInstallCalendar = false;
    bool NoInstallAV = false;
    bool NoInstallIAS = false;
    bool NoInstallMail = false;

    // Values of info.xml beside the setup program.
    std::string ProductsXmlUrl;
    std::string DefaultLanguage;
    std::string FooterValue;
    std::string SetupEmail;
    std::string ModuleDownloadUrl;

    // Connection string last confirmed in the database dialog.
    std::string DatabaseConnectionString;

    // Agreement text and read-me in use; the chosen language may replace them.
    std::string LicenseFile;
    std::string ReadmeFile;
    // Path of the info.xml and of the setup.lng in use.
    std::string InfoXmlFile;
    std::string LanguageFile;

    // Set when the install sequence starts.
    bool IsUpgrade = false;
    // Only the administration interface is deployed.
    bool AdminOnlyInstall = false;
    // One saved start type per service index; kUnknownStartType: not saved.
    std::array<int32_t, upgrade::kServiceCount> ServiceStartTypes = {
        winsys::kUnknownStartType, winsys::kUnknownStartType, winsys::kUnknownStartType,
        winsys::kUnknownStartType, winsys::kUnknownStartType};

    std::string ConfigDir() const { return InstallDir + "config\\"; }
};

}  // namespace tolva::setup

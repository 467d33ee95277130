#pragma once
// The uninstall behind "/UNINSTALL": the installation the setup program was started from goes,
// with the settings store's root folder as the start-up found it.

#include <string>
#include <utility>

#include "platform/platform.h"
#include "setup/startup.h"
#include "stores/settings_store.h"
#include "winsys/service_control_window.h"
#include "winsys/shortcuts.h"

namespace tolva::setup {

class FolderUninstall : public UninstallRunner {
public:
    // setupFolder: the running setup program's folder, with a trailing backslash.
    FolderUninstall(const platform::Platform& platform, winsys::ServiceControlWindow& window,
                    winsys::SetupRegistries registries, const stores::SettingsStore& settings,
                    std::string setupFolder)
        : platform_(platform),
          window_(window),
          registries_(registries),
          settings_(settings),
          setupFolder_(std::move(setupFolder)) {}

    bool RunUninstall() override;

private:
    const platform::Platform& platform_;
    winsys::ServiceControlWindow& window_;
    winsys::SetupRegistries registries_;
    const stores::SettingsStore& settings_;
    std::string setupFolder_;
};

}  // namespace tolva::setup

#include "setup/single_instance.h"

#include "i18n/ui_strings.h"
#include "setup/setup_title.h"

namespace tolva::setup {

bool ClaimSingleInstance(platform::Processes& processes, platform::Dialogs& dialogs,
                         std::unique_ptr<platform::InstanceClaim>& claim) {
    const platform::Status claimed = processes.ClaimInstance(kSetupInstanceName, claim);
    if (claimed.ok() || claimed.code() != platform::error::kAlreadyExists) {
        return true;
    }
    (void)dialogs.ShowMessageBox({i18n::Text(i18n::cAlreadyRunning), kApplicationTitle,
                                  platform::DialogButtons::kOk, platform::DialogIcon::kInformation,
                                  true});
    return false;
}

}  // namespace tolva::setup

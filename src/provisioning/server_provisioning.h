#pragma once
// What the Finished page starts after the installation: the post-install wizard with the calls
// that create the primary domain and its administrator, and the switch of the account storage to
// the database. Both use the server's automation objects and never report their failures.

#include <string>

#include "platform/automation.h"
#include "platform/system.h"
#include "provisioning/post_install_wizard.h"

namespace tolva::provisioning {

class ServerProvisioning {
public:
    ServerProvisioning(PostInstallWizardWindow& wizard, platform::Automation& automation,
                       platform::System& system)
        : wizard_(wizard), automation_(automation), system_(system) {}

    void RunPostInstallWizard();
    // connection: the database connection string the database dialog gave.
    void SwitchToDatabaseStorage(const std::string& connection);

private:
    PostInstallWizardWindow& wizard_;
    platform::Automation& automation_;
    platform::System& system_;
};

}  // namespace tolva::provisioning

#pragma once
// What the Finished page starts after the installation: the post-install wizard with the calls
// that create the primary domain and its administrator, and the switch of the account storage to
// the database. Both use the server's automation objects and never report their failures.

#include <string>

#include "platform/automation.h"
#include "platform/system.h"
#include "provisioning/post_install_wizard.h"
#include "util/setup_log_sink.h"

namespace tolva::provisioning {

class ServerProvisioning {
public:
    ServerProvisioning(PostInstallWizardWindow& wizard, platform::Automation& automation,
                       platform::System& system)
        : wizard_(wizard), automation_(automation), system_(system) {}

    void RunPostInstallWizard();
    // connection: the database connection string the database dialog gave; a failure is written
    // to log.
    void SwitchToDatabaseStorage(const std::string& connection, util::SetupLogSink& log);

private:
    PostInstallWizardWindow& wizard_;
    platform::Automation& automation_;
    platform::System& system_;
};

}  // namespace tolva::provisioning

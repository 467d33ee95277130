#include "provisioning/server_provisioning.h"

#include "provisioning/server_automation.h"

namespace tolva::provisioning {

void ServerProvisioning::RunPostInstallWizard() {
    provisioning::RunPostInstallWizard(wizard_, automation_, system_);
}

void ServerProvisioning::SwitchToDatabaseStorage(const std::string& connection,
                                                 util::SetupLogSink& log) {
    provisioning::SwitchToDatabaseStorage(automation_, system_, connection, log);
}

}  // namespace tolva::provisioning

#include "setup/server_links.h"

#include "upgrade/service_table.h"
#include "upgrade/task_packet.h"

namespace tolva::setup {

void ServerFinishSteps::SwitchToDatabaseStorage(const std::string& connection) {
    provisioning_.SwitchToDatabaseStorage(connection, log_);
}

void ServerFinishSteps::RunPostInstallWizard() {
    provisioning_.RunPostInstallWizard();
}

void ServerFinishSteps::NotifyControlService() {
    (void)messenger_.PostTaskMessage(upgrade::kControlService, upgrade::kTaskMessage,
                                     kSetupFinishedCode, 0);
}

}  // namespace tolva::setup

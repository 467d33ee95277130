#pragma once
// The main window's links to the database dialog and its test, the post-install wizard and the
// control service, as setup.exe wires them.

#include <optional>
#include <string>
#include <string_view>

#include "provisioning/connection_test.h"
#include "provisioning/odbc_form.h"
#include "provisioning/server_provisioning.h"
#include "setup/preflight.h"
#include "setup/wizard_links.h"
#include "upgrade/task_messages.h"
#include "util/setup_log_sink.h"

namespace tolva::setup {

class DatabaseDialogLink : public DatabaseDialog {
public:
    explicit DatabaseDialogLink(provisioning::TODBCForm& dialog) : dialog_(dialog) {}
    std::optional<std::string> EditConnection(const std::string& connection) override {
        return dialog_.EditConnection(connection);
    }

private:
    provisioning::TODBCForm& dialog_;
};

// The database test of the dialog, without the dialog: for choices made without the wizard.
class ConnectionTestProbe : public DatabaseProbe {
public:
    explicit ConnectionTestProbe(provisioning::DatabaseConnectionTest& test) : test_(test) {}
    bool Connect(std::string_view connection, std::string& error) override {
        return test_.Connect(connection, error);
    }

private:
    provisioning::DatabaseConnectionTest& test_;
};

class ServerFinishSteps : public FinishSteps {
public:
    // The code that tells the control service that setup has finished.
    static constexpr int32_t kSetupFinishedCode = 3;

    // log: the setup log, where a failed switch to the database storage is written.
    ServerFinishSteps(provisioning::ServerProvisioning& provisioning,
                      upgrade::TaskMessenger& messenger, util::SetupLogSink& log)
        : provisioning_(provisioning), messenger_(messenger), log_(log) {}

    void SwitchToDatabaseStorage(const std::string& connection) override;
    void RunPostInstallWizard() override;
    void NotifyControlService() override;

private:
    provisioning::ServerProvisioning& provisioning_;
    upgrade::TaskMessenger& messenger_;
    util::SetupLogSink& log_;
};

}  // namespace tolva::setup

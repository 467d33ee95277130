#pragma once
// The upgrade procedures that run at the end of an installation over an older version: every row
// of the upgrade table whose version lies above the old installation's carries out its task, and
// every row's test is followed by the configuration-changed broadcast, so that the running server
// programs pick up each change before the next one.

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "upgrade/task_messages.h"
#include "upgrade/upgrade_table.h"
#include "upgrade/web_server_edits.h"
#include "util/setup_log_sink.h"

namespace tolva::stores {
class AccountStore;
class SettingsRecord;
class SettingsStore;
}  // namespace tolva::stores

namespace tolva::net {
class HttpClient;
}

namespace tolva::upgrade {

class UpgradeProcedures {
public:
    // settings and accounts are the installer's stores; the web server edits work on the
    // configuration folder of the installation. log is the setup log, which hears of settings
    // that could not be saved.
    UpgradeProcedures(platform::FileSystem& files, TaskMessenger& messenger,
                      stores::SettingsStore& settings, stores::AccountStore& accounts,
                      WebServerEdits& webServer, net::HttpClient& http, util::SetupLogSink& log);
    UpgradeProcedures(const UpgradeProcedures&) = delete;
    UpgradeProcedures& operator=(const UpgradeProcedures&) = delete;

    // oldVersion as the product key recorded it before this installation; installationFolder with
    // a trailing backslash. Results of the task messages are not examined; true in every case.
    bool RunUpgradeProcedures(std::string_view oldVersion, std::string_view installationFolder);

private:
    void Carry(const UpgradeRow& row);
    void RunConfigurationTask(ConfigurationTask task);
    // The settings of the installation, loaded by the first task of a run that needs them.
    stores::SettingsStore& LoadedSettings();
    // Loads the settings when needed, converts the record and saves settings and domains. A save
    // the store refuses (a settings.cfg it could not read stays as it is) is logged once a run.
    void ConvertSettings(void (*convert)(stores::SettingsRecord&));
    void RenameOldFolders();
    void ConvertImapRules();
    int64_t TotalAccounts();

    platform::FileSystem& files_;
    TaskMessenger& messenger_;
    stores::SettingsStore& settings_;
    stores::AccountStore& accounts_;
    WebServerEdits& webServer_;
    net::HttpClient& http_;
    util::SetupLogSink& log_;

    std::string installationFolder_;
    bool settingsLoaded_ = false;
    bool saveFailureLogged_ = false;
};

}  // namespace tolva::upgrade

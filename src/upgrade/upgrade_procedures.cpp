#include "upgrade/upgrade_procedures.h"

#include "net/http_download.h"
#include "stores/account_store.h"
#include "stores/settings_store.h"
#include "upgrade/settings_conversions.h"
#include "upgrade/task_packet.h"
#include "util/version.h"

namespace tolva::upgrade {
namespace {

// Below both limits a server is small enough for the control service to convert every account's
// IMAP rules while the installer waits.
constexpr int32_t kImapConversionDomainLimit = 20;
constexpr int64_t kImapConversionAccountLimit = 2000;
constexpr char kImapConversionPage[] = "/admin/tools/convert_imap_rules.html";

// Account storage modes of the settings record: below 2 the accounts are in users.cfg files.
constexpr uint8_t kDatabaseStorage = 2;

struct FolderRename {
    const char* from;
    const char* to;
};

}  // namespace

UpgradeProcedures::UpgradeProcedures(platform::FileSystem& files, TaskMessenger& messenger,
                                     stores::SettingsStore& settings,
                                     stores::AccountStore& accounts, WebServerEdits& webServer,
                                     net::HttpClient& http, util::SetupLogSink& log)
    : files_(files),
      messenger_(messenger),
      settings_(settings),
      accounts_(accounts),
      webServer_(webServer),
      http_(http),
      log_(log) {}

bool UpgradeProcedures::RunUpgradeProcedures(std::string_view oldVersion,
                                             std::string_view installationFolder) {
    installationFolder_ = installationFolder;
    settingsLoaded_ = false;
    saveFailureLogged_ = false;
    for (const UpgradeRow& row : UpgradeTable()) {
        const bool below = util::IsVersionLower(oldVersion, row.threshold);
        messenger_.BroadcastConfigChange(&settings_.Database());
        if (below) {
            Carry(row);
        }
    }
    return true;
}

void UpgradeProcedures::Carry(const UpgradeRow& row) {
    RunConfigurationTask(row.task);
    for (const TaskPost& post : row.Posts()) {
        (void)messenger_.PostTaskMessage(post.target, kTaskMessage, post.code, post.argument);
    }
}

void UpgradeProcedures::RunConfigurationTask(ConfigurationTask task) {
    switch (task) {
        case ConfigurationTask::kNone:
            return;
        case ConfigurationTask::kClearUnusedHostAddresses:
            ConvertSettings(ClearUnusedHostAddresses);
            return;
        case ConfigurationTask::kAddWebDavHandler:
            (void)webServer_.AddWebDavHandler(installationFolder_ + "config\\");
            return;
        case ConfigurationTask::kRenameOldFolders:
            RenameOldFolders();
            return;
        case ConfigurationTask::kAddPhpHandler:
            (void)webServer_.AddPhpHandler(installationFolder_ + "config\\");
            return;
        case ConfigurationTask::kScaleToMinutes:
            ConvertSettings(ScaleToMinutes);
            return;
        case ConfigurationTask::kScaleToBytes:
            ConvertSettings(ScaleToBytes);
            return;
        case ConfigurationTask::kResetDnsRetries:
            ConvertSettings(ResetDnsRetries);
            return;
        case ConfigurationTask::kConvertImapRules:
            ConvertImapRules();
            return;
    }
}

stores::SettingsStore& UpgradeProcedures::LoadedSettings() {
    if (!settingsLoaded_) {
        settings_.UseConfigurationFolder(installationFolder_);
        settingsLoaded_ = true;
    }
    return settings_;
}

void UpgradeProcedures::ConvertSettings(void (*convert)(stores::SettingsRecord&)) {
    convert(LoadedSettings().Record());
    if (!settings_.SaveSettings(false) && !saveFailureLogged_) {
        saveFailureLogged_ = true;
        log_.Write("Error: Settings could not be saved - " + settings_.SaveProblem());
    }
}

void UpgradeProcedures::RenameOldFolders() {
    stores::SettingsStore& settings = LoadedSettings();
    const std::string config = settings.ConfigurationFolder();
    const std::string mail = settings.Record().MailPath();
    // Plain renames on the same volume; a folder that is missing or whose new name is taken stays.
    const FolderRename renames[] = {
        {"remotewatchdog", "_remotewatchdog"},
        {"certs", "_certs"},
    };
    for (const FolderRename& rename : renames) {
        (void)files_.MoveTo(config + rename.from, config + rename.to, false);
    }
    (void)files_.MoveTo(mail + "forward", mail + "_outgoing", false);
}

void UpgradeProcedures::ConvertImapRules() {
    stores::SettingsStore& settings = LoadedSettings();
    if (settings.Record().DomainCount() < kImapConversionDomainLimit &&
        TotalAccounts() < kImapConversionAccountLimit) {
        // The control service converts the rules when the page is asked for; its answer says
        // nothing the installer acts on.
        const std::string address = "http://" + settings.ControlServiceHost() + ":" +
                                    std::to_string(settings.Record().ControlHttpPort()) +
                                    kImapConversionPage;
        const std::string response = http_.HTTPDownload(address, true);
        if (!response.empty()) {
            (void)files_.RemoveFile(response);
        }
    }
    settings.Database().ReleaseDatabaseLibrary();
}

int64_t UpgradeProcedures::TotalAccounts() {
    const uint8_t mode = settings_.Record().AccountStorageMode();
    if (mode > kDatabaseStorage) {
        return 0;
    }
    return accounts_.CountAccounts("");
}

}  // namespace tolva::upgrade

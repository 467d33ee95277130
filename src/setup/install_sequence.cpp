#include "setup/install_sequence.h"

#include <exception>
#include <functional>

#include "archive/delete_folder_tree.h"
#include "archive/extract_archive.h"
#include "i18n/ui_strings.h"
#include "net/module_download.h"
#include "setup/deployment.h"
#include "setup/exit_codes.h"
#include "stores/account_store.h"
#include "upgrade/legacy_registry.h"
#include "upgrade/task_messages.h"
#include "upgrade/upgrade_procedures.h"
#include "util/folder_path.h"
#include "util/product.h"
#include "util/version.h"
#include "winsys/legacy_web_server_config.h"
#include "winsys/service_install.h"
#include "winsys/web_handler_edits.h"

namespace tolva::setup {

namespace {

constexpr char kDemoArchive[] = "demo.dat";
constexpr char kModuleCatalogueArchive[] = "tolva.mcb";
// Older installations kept their web server settings in webserver.cfg, which needs an edit.
constexpr char kLegacyWebServerBefore[] = "7.7.3";

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

}  // namespace

// The abort and the process end of the steps: before the process ends, the services get back the
// start types the upgrade changed.
class InstallSequence::WayOut : public util::SetupAbort, public ProcessEnd {
public:
    WayOut(util::SetupAbort& abort, ProcessEnd& processEnd, std::function<void()> beforeEnd)
        : abort_(abort), processEnd_(processEnd), beforeEnd_(std::move(beforeEnd)) {}

    void Abort(std::u16string_view message, std::u16string_view details) override {
        beforeEnd_();
        abort_.Abort(message, details);
    }
    void EndProcess(int exitCode) override {
        beforeEnd_();
        processEnd_.EndProcess(exitCode);
    }

private:
    util::SetupAbort& abort_;
    ProcessEnd& processEnd_;
    std::function<void()> beforeEnd_;
};

// The Installing page as the steps of other modules see it. Every pass of the message loop may
// bring the user's Yes to the cancel question, which ends the installation there.
class InstallSequence::Progress : public DeploymentProgress,
                                  public winsys::ServiceControlWindow,
                                  public net::DownloadWindow {
public:
    Progress(InstallWindow& window, TDebugStruct& log, ProcessEnd& processEnd)
        : window_(window), log_(log), processEnd_(processEnd) {}

    bool Cancelled() const { return cancelled_; }

    void SetProgressText(std::u16string_view text) override {
        window_.SetProgressText(text);
        CheckCancel();
    }
    void StepProgress() override { window_.StepProgress(); }
    void ProcessPendingMessages() override {
        window_.ProcessPendingMessages();
        CheckCancel();
    }

    void ShowProgressText(std::u16string_view text) override { SetProgressText(text); }
    platform::DialogResult ShowMessageBox(const platform::MessageBoxRequest& request) override {
        const platform::DialogResult result = window_.ShowMessageBox(request);
        CheckCancel();
        return result;
    }

    std::u16string PageCaption() const override { return window_.PageCaption(); }
    void SetPageCaption(std::u16string_view caption) override { window_.SetPageCaption(caption); }
    int ProgressMax() const override { return window_.ProgressMax(); }
    void SetProgressMax(int maximum) override { window_.SetProgressMax(maximum); }
    void SetProgressPosition(int position) override { window_.SetProgressPosition(position); }
    void Repaint() override {
        window_.Repaint();
        CheckCancel();
    }

private:
    void CheckCancel() {
        if (cancelled_ || !window_.CancelRequested()) {
            return;
        }
        cancelled_ = true;
        log_.Write("Setup cancelled\r\n");
        processEnd_.EndProcess(kExitUserCancelled);
    }

    InstallWindow& window_;
    TDebugStruct& log_;
    ProcessEnd& processEnd_;
    bool cancelled_ = false;
};

// The modules the sequence drives, on the main window's settings store and HTTP client.
struct InstallSequence::Components {
    Components(const InstallParts& parts, Progress& progress, util::SetupAbort& abort)
        : accounts(parts.platform, parts.settings),
          messenger(parts.platform),
          webEdits(*parts.platform.files, *parts.platform.system),
          upgrades(*parts.platform.files, messenger, parts.settings, accounts, webEdits, parts.http,
                   parts.log),
          downloader(parts.http, *parts.platform.files, *parts.platform.system, progress, abort,
                     DownloadTexts()) {}

    static net::DownloadTexts DownloadTexts() {
        net::DownloadTexts texts;
        texts.downloadingFiles = i18n::Text(i18n::cDownloadingFiles);
        texts.downloadError = i18n::Text(i18n::cDownloadError);
        texts.downloadErrorVersion = i18n::Text(i18n::cDownloadErrorVersion);
        texts.downloadErrorMove = i18n::Text(i18n::cDownloadErrorMove);
        return texts;
    }

    stores::AccountStore accounts;
    upgrade::TaskMessenger messenger;
    winsys::WebHandlerEdits webEdits;
    upgrade::UpgradeProcedures upgrades;
    net::ModuleDownloader downloader;

    // Made once the installation folder is fixed.
    winsys::ServiceSetup serviceSetup;
    std::unique_ptr<winsys::ServiceInstall> services;
    DeploymentState deploymentState;
    std::unique_ptr<Deployment> deployment;
};

InstallSequence::InstallSequence(InstallParts parts)
    : parts_(std::move(parts)),
      wayOut_(std::make_unique<WayOut>(parts_.abort, parts_.processEnd,
                                       [this] { GiveBackStartTypes(); })),
      progress_(std::make_unique<Progress>(parts_.window, parts_.log, *wayOut_)),
      components_(std::make_unique<Components>(parts_, *progress_, *wayOut_)) {}

InstallSequence::~InstallSequence() = default;

bool InstallSequence::Ended() const {
    return aborted_ || progress_->Cancelled();
}

void InstallSequence::Step() {
    progress_->StepProgress();
}

void InstallSequence::Log(std::string_view line) {
    parts_.log.Write(line);
}

bool InstallSequence::Run(const ComponentSelection& selected) {
    try {
        return RunSteps(selected);
    } catch (const std::exception& failure) {
        AbortWith(failure.what());
    } catch (...) {
        AbortWith("unknown error");
    }
    return false;
}

// A failure no step expected leaves the installation unfinished, like any other abort.
void InstallSequence::AbortWith(std::string_view failure) {
    aborted_ = true;
    wayOut_->Abort(parts_.platform.system->AnsiToWide(failure), u"");
}

// Once: the end of the sequence restores them, or the first way out before it.
void InstallSequence::GiveBackStartTypes() {
    if (startTypesRestored_ || !components_ || !components_->services) {
        return;
    }
    startTypesRestored_ = true;
    components_->services->RestoreStartTypes(true);
}

bool InstallSequence::RunSteps(const ComponentSelection& selected) {
    SetupState& state = parts_.state;
    state.AdminOnlyInstall = IsAdminOnlyInstall(selected);
    if (!PrepareExtractionFolder() || !FetchModules(selected) || Ended()) {
        return false;
    }
    upgrade::MigrateLegacyRegistry(*parts_.platform.registry, true);
    parts_.exclusions.WriteComponentExclusions(state);
    FixInstallationFolder();
    WriteStartLine();

    if (!state.AdminOnlyInstall && !StopServicesAndExtract()) {
        return false;
    }
    if (!Deploy(selected)) {
        return false;
    }
    if (!state.AdminOnlyInstall) {
        ConfigureAndRegister();
        if (Ended()) {
            return false;
        }
    }
    FinishInstallation();
    if (Ended()) {
        return false;
    }
    if (!state.AdminOnlyInstall) {
        StartServicesAndUpgrade();
        if (Ended()) {
            return false;
        }
    }
    Log("Finished\r\n");
    return true;
}

// The start-up made the folder fresh and unpacked the languages into it; it is only made again
// should something have removed it meanwhile.
bool InstallSequence::PrepareExtractionFolder() {
    const platform::Status created = parts_.platform.files->CreateFolders(parts_.state.ExtractDir);
    if (created) {
        return true;
    }
    wayOut_->Abort(
        i18n::Text(i18n::cErrorDir) +
            parts_.platform.system->AnsiToWide(parts_.platform.system->ErrorText(created.code())),
        u"");
    aborted_ = true;
    return false;
}

bool InstallSequence::FetchModules(const ComponentSelection& selected) {
    SetupState& state = parts_.state;
    const std::vector<std::string> missing =
        MissingArchives(*parts_.platform.files, state.SetupFolder, selected);
    if (missing.empty()) {
        return true;
    }
    if (!components_->downloader.DownloadModules(state.ModuleDownloadUrl, state.ExtractDir,
                                                 missing)) {
        aborted_ = true;
        return false;
    }
    return true;
}

void InstallSequence::FixInstallationFolder() {
    SetupState& state = parts_.state;
    state.InstallDir = util::WithTrailingBackslash(state.InstallDir);
    parts_.settings.SetRootFolder(state.InstallDir);
    state.IsUpgrade = parts_.platform.files->FolderExists(state.ConfigDir());
    if (state.LogDir.empty()) {
        state.LogDir = state.InstallDir + "logs\\";
    }

    if (state.AdminOnlyInstall) {
        return;
    }
    Components& c = *components_;
    c.serviceSetup.installFolder = state.InstallDir;
    c.serviceSetup.isUpgrade = state.IsUpgrade;
    c.serviceSetup.noInstallIM = state.NoInstallIM;
    c.serviceSetup.noInstallCalendar = state.NoInstallCalendar;
    c.serviceSetup.oldVersion = state.OldVersion;
    c.serviceSetup.previousInstallDir = state.PreviousInstallDir;
    c.services =
        std::make_unique<winsys::ServiceInstall>(parts_.platform, *progress_, c.serviceSetup);
}

void InstallSequence::SyncServiceSetup() {
    parts_.state.ServiceStartTypes = components_->serviceSetup.serviceStartTypes;
    parts_.state.PreviousInstallDir = components_->serviceSetup.previousInstallDir;
}

void InstallSequence::WriteStartLine() {
    parts_.log.Open(SetupLogFile(parts_.state.LogDir), kSetupLogFlags);
    Log("Started " + Quoted(kProductName) + " " + kSetupVersion + " " +
        Quoted(parts_.state.InstallDir));
}

bool InstallSequence::StopServicesAndExtract() {
    SetupState& state = parts_.state;
    winsys::ServiceInstall& services = *components_->services;
    services.SaveStartTypes();
    SyncServiceSetup();

    Log("Checking running services");
    Step();
    (void)services.StopRunningServices();
    const bool stopped = services.StopRunningServices();
    Step();
    Log(stopped ? "Services stopped" : "Error: Services could not be stopped");
    if (Ended()) {
        return false;
    }

    progress_->SetProgressText(i18n::Text(i18n::cExtractingFiles));
    DeploymentState deploymentState;
    deploymentState.SetupFolder = state.SetupFolder;
    deploymentState.ExtractDir = state.ExtractDir;
    archive::ExtractReport report;
    report.progress = MessagesWhileExtracting(*progress_);
    int resultCode = 0;
    if (!archive::ExtractArchive(*parts_.platform.files,
                                 ArchivePath(*parts_.platform.files, deploymentState, kMainArchive),
                                 state.ExtractDir, resultCode, true, "", "", "", &report)) {
        if (Ended()) {
            return false;
        }
        wayOut_->Abort(i18n::Text(i18n::cErrorDataFile) + u" " +
                           parts_.platform.system->AnsiToWide(kMainArchive),
                       u"");
        aborted_ = true;
        return false;
    }
    Log("Data file extracted to " + Quoted(state.ExtractDir));
    Step();
    return !Ended();
}

bool InstallSequence::Deploy(const ComponentSelection& selected) {
    const SetupState& state = parts_.state;
    Components& c = *components_;
    DeploymentState& d = c.deploymentState;
    d.SetupFolder = state.SetupFolder;
    d.SetupProgram = parts_.setupProgram;
    d.InstallDir = state.InstallDir;
    d.ExtractDir = state.ExtractDir;
    d.LogDir = state.LogDir;
    d.OldVersion = state.OldVersion;
    d.IsUpgrade = state.IsUpgrade;
    d.NoInstallIM = state.NoInstallIM;
    d.NoInstallCalendar = state.NoInstallCalendar;
    d.NoInstallAV = state.NoInstallAV;
    d.NoInstallIAS = state.NoInstallIAS;
    d.InfoXmlFile = state.InfoXmlFile;
    d.LanguageFile = state.LanguageFile;
    d.LicenseFile = state.LicenseFile;
    d.ReadmeFile = state.ReadmeFile;
    d.Selected = selected;
    c.deployment = std::make_unique<Deployment>(parts_.platform, d, parts_.log, *wayOut_,
                                                *progress_, *wayOut_, parts_.deploymentCalls);

    Log("Copying files...");
    if (!c.deployment->DeployFiles(state.AdminOnlyInstall)) {
        aborted_ = true;
        return false;
    }
    if (Ended()) {
        return false;
    }
    Step();
    return true;
}

void InstallSequence::ConfigureAndRegister() {
    const SetupState& state = parts_.state;
    platform::FileSystem& files = *parts_.platform.files;
    Components& c = *components_;
    int resultCode = 0;
    const std::string catalogue = state.SetupFolder + kModuleCatalogueArchive;
    if (!state.IsUpgrade && files.FileExists(catalogue)) {
        (void)archive::ExtractArchive(files, catalogue, state.ConfigDir(), resultCode, true, "", "",
                                      "");
    }
    Step();
    Log("Copying files done");

    if (!state.IsUpgrade) {
        PrepareNewInstallation();
    }
    Step();
    Step();

    if (state.IsUpgrade && !state.OldVersion.empty() &&
        util::IsVersionLower(state.OldVersion, kLegacyWebServerBefore)) {
        winsys::PatchLegacyWebServerConfig(files, state.ConfigDir());
    }
    Step();
    if (Ended()) {
        return;
    }

    if (!parts_.shortcuts.RegisterShortcutsAndEntries(state, *progress_)) {
        if (!Ended()) {
            aborted_ = true;
            wayOut_->EndProcess(kExitInstallFailure);
        }
        return;
    }
    if (Ended()) {
        return;
    }
    c.deployment->RemoveExcludedComponents();

    Log("Installing services");
    c.services->InstallAndStartServices();
    SyncServiceSetup();
    Step();
}

void InstallSequence::PrepareNewInstallation() {
    const SetupState& state = parts_.state;
    platform::FileSystem& files = *parts_.platform.files;
    stores::SettingsStore& settings = parts_.settings;
    Log("Creating demo accounts");
    int resultCode = 0;
    (void)archive::ExtractArchive(files, state.ExtractDir + kDemoArchive, state.ConfigDir(),
                                  resultCode, true, "", "", "");
    settings.UseConfigurationFolder(state.InstallDir);

    stores::SettingsRecord& record = settings.Record();
    record.SetConsoleViewFile(state.AdvancedInterface ? "advanced.xml" : "basic.xml");
    record.SetTempPath(state.InstallDir + "temp\\");
    record.SetMailPath(state.InstallDir + "mail\\");
    record.SetLogPath(state.InstallDir + "logs\\");
    if (const std::string dns = settings.MachineDnsServers(); !dns.empty()) {
        record.SetDnsServers(dns);
    }
    if (!state.FooterValue.empty()) {
        (void)settings.WriteFooterFiles(state.FooterValue);
    }
    // The services start with these settings: a failure must not pass for a finished set-up.
    if (!settings.SaveSettings(false)) {
        Log("Error: Settings could not be saved - " + settings.SaveProblem());
    }
    components_->accounts.PrepareDemoAccounts();
    newInstallation_ = true;
}

void InstallSequence::FinishInstallation() {
    const SetupState& state = parts_.state;
    archive::DeleteFolderTree(*parts_.platform.files, state.ExtractDir);
    Log("Extracted data deleted " + Quoted(state.ExtractDir));

    progress_->ProcessPendingMessages();
    if (Ended()) {
        return;
    }
    parts_.platform.system->SleepFor(kPauseBeforeMailMs);
    SendMail();
    if (Ended()) {
        return;
    }
    Step();
    progress_->SetProgressText(i18n::Text(i18n::cFinished));
}

void InstallSequence::SendMail() {
    const SetupState& state = parts_.state;
    net::SetupMailDetails details = parts_.window.UserDetails();
    details.setupTitle = parts_.platform.system->AnsiToWide(state.SetupTitle);
    details.productName = parts_.platform.system->WideToAnsi(i18n::Text(i18n::cName));
    details.setupEmail = state.SetupEmail;
    details.isUpgrade = state.IsUpgrade;
    details.oldVersion = state.OldVersion;
    details.demoSubject = i18n::Text(i18n::DemoMsgSubject);
    details.demoBody = i18n::Text(i18n::DemoMsg);
    const net::MailTransport transport{*parts_.platform.network, *parts_.platform.system,
                                       parts_.mailTimeouts};
    net::SendSetupMail(net::SetupMailForm::kNotification, details, transport, parts_.log,
                       parts_.mailRelays);
    if (newInstallation_) {
        net::SendSetupMail(net::SetupMailForm::kDemonstration, details, transport, parts_.log,
                           parts_.mailRelays);
    }
}

void InstallSequence::StartServicesAndUpgrade() {
    const SetupState& state = parts_.state;
    winsys::ServiceInstall& services = *components_->services;
    Log("Starting services");
    services.CheckStartedServices();
    if (Ended()) {
        return;
    }
    services.RestoreStartTypes();
    startTypesRestored_ = true;
    // Only the installation the old version left in this folder is converted: a new one beside
    // it is not.
    if (state.IsUpgrade && !state.OldVersion.empty()) {
        Log("Running upgrade procedures " + state.OldVersion + " -> " + kSetupVersion);
        (void)components_->upgrades.RunUpgradeProcedures(state.OldVersion, state.InstallDir);
    }
    HealthSetup health;
    health.noInstallIM = state.NoInstallIM;
    health.savedStartTypes = state.ServiceStartTypes;
    health.smtpPort = parts_.healthSmtpPort;
    health_ = CheckHealth(parts_.platform, health);
    Log(HealthLine(health_, health.smtpPort));
}

}  // namespace tolva::setup

// The install sequence over a small distribution on the in-memory machine: the log of a new
// installation, an upgrade, the administration interface alone, a damaged setup.dat, a cancel
// during the run, the archives to fetch and the extraction folder.

#include "setup/install_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "distribution_fixture.h"
#include "i18n/localization.h"
#include "net/smtp_loopback_server.h"
#include "setup/abort_box.h"
#include "setup/extraction_folder.h"
#include "startup_doubles.h"
#include "stores/account_store.h"
#include "upgrade/service_table.h"

namespace tolva::setup {
namespace {

using platform::ServiceStartType;
using platform::ServiceState;
using test::DistributionRun;
using test::Events;

// The Installing page: texts and steps go to the events; the user answers Yes to the cancel
// question once the text cancelAt has been shown.
class RecordingInstallWindow : public InstallWindow {
public:
    explicit RecordingInstallWindow(Events& events) : events_(events) {}

    std::u16string cancelAt;
    int steps = 0;

    void SetProgressText(std::u16string_view text) override {
        events_.push_back("text " + std::string(text.begin(), text.end()));
        cancel_ = cancel_ || (!cancelAt.empty() && text == cancelAt);
    }
    void StepProgress() override {
        ++steps;
        events_.push_back("step");
    }
    void ProcessPendingMessages() override {}
    bool CancelRequested() const override { return cancel_; }
    platform::DialogResult ShowMessageBox(const platform::MessageBoxRequest& request) override {
        events_.push_back("box " + std::string(request.text.begin(), request.text.end()));
        return platform::DialogResult::kOk;
    }
    net::SetupMailDetails UserDetails() const override {
        net::SetupMailDetails details;
        details.name = u"Ann Example";
        details.email = u"ann@example.org";
        return details;
    }
    std::u16string PageCaption() const override { return u"Installing"; }
    void SetPageCaption(std::u16string_view) override {}
    int ProgressMax() const override { return 12; }
    void SetProgressMax(int) override {}
    void SetProgressPosition(int) override {}
    void Repaint() override {}

private:
    Events& events_;
    bool cancel_ = false;
};

class RecordingSteps : public ComponentExclusionsStep, public ShortcutsStep {
public:
    explicit RecordingSteps(Events& events) : events_(events) {}

    // Thrown by the shortcuts step when not empty, as a failure no step expects.
    std::string failure;

    void WriteComponentExclusions(const SetupState&) override { events_.push_back("exclusions"); }
    bool RegisterShortcutsAndEntries(const SetupState& state,
                                     winsys::ServiceControlWindow&) override {
        if (!failure.empty()) {
            throw std::runtime_error(failure);
        }
        events_.push_back("shortcuts " + state.InstallDir);
        return true;
    }

private:
    Events& events_;
};

class InstallSequenceTest : public ::testing::Test, protected DistributionRun {
protected:
    InstallSequenceTest()
        : log(files, system),
          abortBox(dialogs, system, log, processEnd),
          settings(platform),
          http(platform),
          window(events),
          steps(events) {
        setupState.SetupFolder = kDist;
        setupState.InstallDir = "C:\\Tolva Mail Server";
        setupState.ExtractDir = kExtract;
        setupState.FooterValue = "Scanned by the demo";
        selected.fill(true);
    }

    // An installation of version 9.0.5 whose services run, the groupware one disabled.
    void SeedEarlierInstallation(const std::string& version) {
        setupState.OldVersion = version;
        setupState.PreviousInstallDir = kInstall;
        stores::SettingsStore old(platform);
        old.SetRootFolder(kInstall);
        old.InitServerPaths();
        old.ApplySettingsDefaults();
        (void)old.AddDomain("mail.example");
        (void)old.SaveSettings(false);
        Put(In(kConfig, "cert.pem"), "administrator's certificate");
        Put(In(kConfig, "webserver.cfg"), "[Filter]\r\n\r\n[Virtual-Host]\r\n");
        for (int index = 0; index < upgrade::kServiceCount; ++index) {
            const upgrade::ServiceRow& row = *upgrade::ServiceRowAt(index);
            platform::NewService service;
            service.name = row.serviceName;
            service.config.binaryPath = In(kInstall, row.executable);
            service.config.startType = index == upgrade::kGroupWareService
                                           ? ServiceStartType::kDisabled
                                           : ServiceStartType::kAutomatic;
            fake.ServiceManager().Install(service, index == upgrade::kGroupWareService
                                                       ? ServiceState::kStopped
                                                       : ServiceState::kRunning);
        }
    }

    // The start-up of a run without the start question, the language chosen in the dialog; the
    // user then installs into kInstall.
    StartupOutcome StartUp(std::u16string language = {}) {
        languages.choice = std::move(language);
        i18n::Localization localization(files, system, setupState.SetupFolder, false,
                                        localizedStrings, strings);
        winsys::TAdvancedRegistry pathRegistry(fake.Registry(),
                                               platform::RegistryRoot::kLocalMachine);
        test::RecordingView view;
        const StartupContext context{platform,   {"/SILENT"},  settings, localization,
                                     languages,  pathRegistry, view,     nullptr,
                                     processEnd, abortBox,     strings};
        const StartupOutcome outcome = RunStartup(context, setupState);
        setupState.InstallDir = kInstall;
        return outcome;
    }

    bool Run() {
        InstallParts parts{platform, setupState, window, log,   abortBox, processEnd,
                           calls,    settings,   http,   steps, steps};
        parts.mailRelays = mailRelays;
        parts.mailTimeouts = {200, 200};
        parts.healthSmtpPort = smtpService.port();
        InstallSequence sequence(parts);
        return sequence.Run(selected);
    }

    size_t Count(const std::string& event) const {
        return static_cast<size_t>(std::count(events.begin(), events.end(), event));
    }

    TDebugStruct log;
    AbortBox abortBox;
    stores::SettingsStore settings;
    net::HttpClient http;
    RecordingInstallWindow window;
    RecordingSteps steps;
    test::ChoosingDialog languages;
    i18n::TLocalizationStrings localizedStrings;
    i18n::TUIStrings strings;
    // What answers for the suite's SMTP service on the loopback address.
    testing::SmtpLoopbackServer smtpService;
    SetupState setupState;
    ComponentSelection selected{};
    net::SetupMailRelays mailRelays{"127.0.0.1:1", "127.0.0.1:1"};
};

const std::string kStartLine =
    "Started \"Corvane Tolva Mail Server\" 9.1.0 \"C:\\Tolva Mail Server\\\"";
const std::string kMailLine = "Sending email to \"setup@corvane.example\"";

TEST_F(InstallSequenceTest, NotificationNamesTheProductAsTheLanguageDoes) {
    testing::SmtpLoopbackServer server;
    mailRelays.local = server.relay();
    std::u16string& product = i18n::UIStrings()[i18n::cName];
    const std::u16string english = product;
    product = u"Corvane Tolva Mailserver";
    const bool ran = Run();
    product = english;
    ASSERT_TRUE(ran);
    server.Stop();
    const std::vector<testing::SmtpSession> sessions = server.Sessions();
    ASSERT_FALSE(sessions.empty());
    ASSERT_FALSE(sessions[0].messages.empty());
    EXPECT_NE(sessions[0].messages[0].find("<PRODUCT>Corvane Tolva Mailserver</PRODUCT>"),
              std::string::npos)
        << sessions[0].messages[0];
}

TEST_F(InstallSequenceTest, NewInstallation) {
    ASSERT_TRUE(Run());

    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{
                  kStartLine,
                  "Checking running services",
                  "Error: Services could not be stopped",
                  "Data file extracted to \"C:\\Temp\\tolvainstall\\\"",
                  "Copying files...",
                  "Copying files done",
                  "Creating demo accounts",
                  "Installing services",
                  "Extracted data deleted \"C:\\Temp\\tolvainstall\\\"",
                  kMailLine,
                  "Starting services",
                  "Health check passed: SMTP, POP3/IMAP, Control and IM running; "
                  "SMTP on 127.0.0.1:" +
                      std::to_string(smtpService.port()) + " greets \"220 loopback ready\"",
                  "Finished",
                  "",
              }));
    EXPECT_EQ(window.steps, 12);
    EXPECT_EQ(events.back(), "text Installation Complete");
    EXPECT_FALSE(files.FolderExists(kExtract));
    EXPECT_EQ(Count("exclusions"), 1u);
    EXPECT_EQ(Count("shortcuts C:\\Tolva Mail Server\\"), 1u);
    EXPECT_FALSE(setupState.IsUpgrade);
    EXPECT_EQ(system.Sleeps().back(), InstallSequence::kPauseBeforeMailMs);
    for (int index = 0; index < upgrade::kServiceCount; ++index) {
        EXPECT_EQ(fake.ServiceManager().StateOf(upgrade::ServiceRowAt(index)->serviceName),
                  ServiceState::kRunning)
            << index;
    }

    // The new installation's settings, as the server will read them.
    stores::SettingsStore installed(platform);
    installed.SetRootFolder(kInstall);
    installed.UseConfigurationFolder(kInstall);
    const stores::SettingsRecord& record = installed.Record();
    EXPECT_EQ(record.ConsoleViewFile(), "advanced.xml");
    EXPECT_EQ(record.TempPath(), "C:\\Tolva Mail Server\\temp\\");
    EXPECT_EQ(record.MailPath(), "C:\\Tolva Mail Server\\mail\\");
    EXPECT_EQ(record.LogPath(), "C:\\Tolva Mail Server\\logs\\");
    EXPECT_EQ(record.DnsServers(), "10.0.0.53;10.0.0.54");
    EXPECT_TRUE(record.FooterTagsEnabled());
    EXPECT_EQ(Get(In(kConfig, "footervalue.txt")), "Scanned by the demo");
    EXPECT_EQ(Get(In(kConfig, "filters.dat")), "module catalogue");

    stores::AccountStore accounts(platform, installed);
    for (int32_t index : {0, 1}) {
        stores::AccountRecord account;
        ASSERT_EQ(accounts.ReadAccount(kDemoDomain, account, index), 2);
        EXPECT_TRUE(account.ExpiryEnabled()) << index;
        EXPECT_EQ(account.ExpiryDate(), 46112.0) << "2026-03-31, 30 days on";
    }
}

TEST_F(InstallSequenceTest, NewInstallationWithoutFooterOrDnsServersKeepsTheirDefaults) {
    setupState.AdvancedInterface = false;
    setupState.FooterValue.clear();
    system.SetDnsServers({});

    ASSERT_TRUE(Run());

    stores::SettingsStore installed(platform);
    installed.SetRootFolder(kInstall);
    installed.UseConfigurationFolder(kInstall);
    EXPECT_EQ(installed.Record().ConsoleViewFile(), "basic.xml");
    EXPECT_EQ(installed.Record().DnsServers(), "192.0.2.53") << "as demo.dat brought them";
    EXPECT_FALSE(installed.Record().FooterTagsEnabled());
    EXPECT_FALSE(files.FileExists(In(kConfig, "tags.dat")));
    EXPECT_FALSE(files.FileExists(In(kConfig, "footervalue.txt")));
}

// An earlier version is recorded, but the user installs into another folder: a new installation,
// whose settings no upgrade procedure converts.
TEST_F(InstallSequenceTest, ANewFolderBesideAnEarlierInstallationIsNoUpgrade) {
    setupState.OldVersion = "8.0.0";
    setupState.PreviousInstallDir = "D:\\Old Mail\\";

    ASSERT_TRUE(Run());

    EXPECT_FALSE(setupState.IsUpgrade);
    const std::vector<std::string> lines = LogLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Creating demo accounts"), 1);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.starts_with("Running upgrade procedures");
                            }),
              0);
    stores::SettingsStore installed(platform);
    installed.SetRootFolder(kInstall);
    installed.UseConfigurationFolder(kInstall);
    EXPECT_EQ(installed.Record().DaysToMinutesField(), 2880) << "not scaled by 1440";
}

TEST_F(InstallSequenceTest, SettingsThatCannotBeSavedAreLogged) {
    files.Inject(platform::FileOperation::kMoveTo).OnPathsEndingIn("config\\settings.cfg");

    ASSERT_TRUE(Run());

    const std::vector<std::string> lines = LogLines();
    const auto demo = std::find(lines.begin(), lines.end(), "Creating demo accounts");
    ASSERT_NE(demo, lines.end());
    EXPECT_EQ((demo + 1)->rfind("Error: Settings could not be saved - ", 0), 0u) << *(demo + 1);
    EXPECT_EQ(*(demo + 2), "Installing services");
}

TEST_F(InstallSequenceTest, AdministrationInterfaceAloneTouchesNoService) {
    selected[component_key::kServicesAndCoreFiles] = false;
    fake.ServiceManager().Log().Clear();

    ASSERT_TRUE(Run());

    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{kStartLine, "Copying files...",
                                        "Extracted data deleted \"C:\\Temp\\tolvainstall\\\"",
                                        kMailLine, "Finished", ""}));
    EXPECT_TRUE(setupState.AdminOnlyInstall);
    EXPECT_EQ(window.steps, 2);
    EXPECT_EQ(Get(In(kInstall, "config.exe")), "console");
    EXPECT_FALSE(files.FileExists(In(kInstall, "smtp.exe")));
    EXPECT_TRUE(fake.ServiceManager().Log().Calls().empty());
    EXPECT_EQ(Count("shortcuts C:\\Tolva Mail Server\\"), 0u);
}

TEST_F(InstallSequenceTest, DamagedMainArchiveAbortsBeforeAnythingIsDeployed) {
    Put(In(kDist, "setup.dat"), "not an archive");

    EXPECT_FALSE(Run());

    const std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.end()[-2],
              "Error: Setup aborted - Extracting files error: data file error setup.dat");
    EXPECT_EQ(lines.back(), "");
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].caption, u"Error");
    EXPECT_EQ(events.back(), "end 1603");
    EXPECT_EQ(Count("end 1603"), 1u);
    EXPECT_FALSE(files.FolderExists(kInstall + std::string("config\\")));
    EXPECT_FALSE(files.FileExists(In(kInstall, "smtp.exe")));
    EXPECT_EQ(Count("shortcuts C:\\Tolva Mail Server\\"), 0u);
}

TEST_F(InstallSequenceTest, CancelDuringTheRunEndsItThere) {
    window.cancelAt = u"Installing Files...";

    EXPECT_FALSE(Run());

    const std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.end()[-3], "Copying files...");
    EXPECT_EQ(lines.end()[-2], "Setup cancelled");
    EXPECT_EQ(lines.back(), "");
    EXPECT_EQ(Count("end 1602"), 1u);
    EXPECT_EQ(Count("end 1603"), 0u);
    EXPECT_EQ(Count("shortcuts C:\\Tolva Mail Server\\"), 0u);
    EXPECT_FALSE(fake.ServiceManager().StateOf("TolvaSMTP").has_value()) << "no service created";
}

TEST_F(InstallSequenceTest, AFailureEscapingAStepAbortsTheInstallation) {
    steps.failure = "registry hive damaged";

    EXPECT_FALSE(Run());

    const std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.end()[-2], "Error: Setup aborted - registry hive damaged");
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].caption, u"Error");
    EXPECT_EQ(dialogs.Shown()[0].text, u"registry hive damaged");
    EXPECT_EQ(Count("end 1603"), 1u);
    EXPECT_FALSE(fake.ServiceManager().StateOf("TolvaSMTP").has_value()) << "no service created";
}

enum class WayOut { kAbort, kCancel, kFailure };

class WayOutTest : public InstallSequenceTest, public ::testing::WithParamInterface<WayOut> {};

// The upgrade switched the disabled groupware service to automatic start; however the installation
// ends before its end, the service is disabled again.
TEST_P(WayOutTest, GivesBackTheSavedStartTypes) {
    SeedEarlierInstallation("9.0.5");
    switch (GetParam()) {
        case WayOut::kAbort:
            Put(In(kDist, "setup.dat"), "not an archive");
            break;
        case WayOut::kCancel:
            window.cancelAt = u"Installing Files...";
            break;
        case WayOut::kFailure:
            steps.failure = "out of memory";
            break;
    }

    EXPECT_FALSE(Run());

    EXPECT_EQ(Count(GetParam() == WayOut::kCancel ? "end 1602" : "end 1603"), 1u);
    EXPECT_EQ(fake.ServiceManager().ConfigOf("TolvaCalendar")->startType,
              ServiceStartType::kDisabled);
    EXPECT_EQ(fake.ServiceManager().ConfigOf("TolvaSMTP")->startType, ServiceStartType::kAutomatic);
}

std::string WayName(const ::testing::TestParamInfo<WayOut>& info) {
    static const char* const kNames[] = {"Abort", "Cancel", "Failure"};
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Ways, WayOutTest,
                         ::testing::Values(WayOut::kAbort, WayOut::kCancel, WayOut::kFailure),
                         WayName);

TEST(MissingArchivesTest, FetchesWhatTheSelectionNeeds) {
    platform::MemoryFileSystem files;
    (void)files.WriteWholeFile("C:\\dist\\setup.dat", "");
    (void)files.WriteWholeFile("C:\\dist\\setupas.dat", "");
    ComponentSelection all{};
    all.fill(true);
    ComponentSelection adminOnly{};
    adminOnly[component_key::kAdministrationInterface] = true;
    ComponentSelection webmailOnly{};
    webmailOnly[component_key::kWebmail] = true;

    struct Case {
        const char* what;
        ComponentSelection selected;
        std::vector<std::string> missing;
    } cases[] = {
        {"everything",
         all,
         {"setupphp.dat", "setupwebmail2.dat", "setupavast.dat", "setupldap.dat", "setupwizard.dat",
          "setupaspell.dat"}},
        {"administration only", adminOnly, {"setupconfig.dat"}},
        {"core deselected", webmailOnly, {"setupwebmail2.dat", "setupphp.dat"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MissingArchives(files, "C:\\dist\\", c.selected), c.missing) << c.what;
    }
    (void)files.WriteWholeFile("C:\\dist\\setupconfig.dat", "");
    EXPECT_TRUE(MissingArchives(files, "C:\\dist\\", adminOnly).empty());
}

TEST(ExtractionFolderTest, IsMadeFreshAndNeverALink) {
    platform::MemoryFileSystem files;
    const char kSetup[] = "C:\\dist\\";
    // What an earlier run or another user left under the name is gone.
    (void)files.WriteWholeFile("C:\\Temp\\tolvainstall\\setupavast.dat", "planted");
    EXPECT_EQ(MakeFreshExtractionFolder(files, "C:\\Temp\\tolvainstall\\", kSetup),
              "C:\\Temp\\tolvainstall\\");
    EXPECT_FALSE(files.FileExists("C:\\Temp\\tolvainstall\\setupavast.dat"));

    // A junction whose target holds files is passed over and its target left alone.
    (void)files.WriteWholeFile("C:\\Temp\\tolvainstall\\system.dll", "system file");
    ASSERT_TRUE(
        files.SetAttributes("C:\\Temp\\tolvainstall", platform::file_attribute::kReparsePoint));
    EXPECT_EQ(MakeFreshExtractionFolder(files, "C:\\Temp\\tolvainstall\\", kSetup),
              "C:\\Temp\\tolvainstall2\\");
    std::string target;
    ASSERT_TRUE(files.ReadWholeFile("C:\\Temp\\tolvainstall\\system.dll", target));
    EXPECT_EQ(target, "system file");

    // A file under the name is not ours to delete.
    (void)files.WriteWholeFile("C:\\Temp\\other", "someone's file");
    EXPECT_EQ(MakeFreshExtractionFolder(files, "C:\\Temp\\other", kSetup), "C:\\Temp\\other2\\");
    EXPECT_TRUE(files.FileExists("C:\\Temp\\other"));

    // Nor is a folder that holds the setup program's own, however it is spelt.
    (void)files.WriteWholeFile("C:\\Temp\\dl\\sub\\setup.dat", "distribution");
    EXPECT_EQ(MakeFreshExtractionFolder(files, "C:\\Temp\\dl\\", "c:\\temp\\DL\\sub"),
              "C:\\Temp\\dl2\\");
    EXPECT_TRUE(files.FileExists("C:\\Temp\\dl\\sub\\setup.dat"));
    EXPECT_EQ(MakeFreshExtractionFolder(files, "C:\\Temp\\d\\", "C:\\Temp\\dl\\sub\\"),
              "C:\\Temp\\d\\");
}

// The start-up makes the extraction folder fresh and unpacks setuplang.dat into it; the chosen
// language's files stay there until the deployment has copied them into the installation.
TEST_F(InstallSequenceTest, TheChosenLanguageReachesTheInstallation) {
    const std::string german = "<?lang caption='Deutsch'?>\r\n<APPLICATION/>";
    PutArchive(In(kDist, "setuplang.dat"), {{"de\\deutsch.lng", german},
                                            {"de\\license.txt", "Lizenz"},
                                            {"de\\readme.txt", "Liesmich"}});
    // Left by an earlier run that was cancelled: no longer a language of this distribution.
    Put(In(kExtract, "lang\\tlh\\klingon.lng"), "<?lang caption='Klingon'?>\r\n<APPLICATION/>");

    ASSERT_EQ(StartUp(u"Deutsch"), StartupOutcome::kWizard);
    EXPECT_EQ(languages.offered, (std::vector<std::u16string>{u"Deutsch", u"English"}));
    ASSERT_TRUE(Run());

    EXPECT_EQ(Get(In(kInstall, "setup.lng")), german);
    EXPECT_EQ(Get(In(kInstall, "doc\\license.txt")), "Lizenz");
    EXPECT_EQ(Get(In(kInstall, "doc\\readme.txt")), "Liesmich");
    EXPECT_FALSE(files.FolderExists(kExtract));
}

// setup.exe started from inside the extraction folder of an earlier run: the distribution stays,
// and the run extracts into a folder of its own.
TEST_F(InstallSequenceTest, ADistributionInsideTheExtractionFolderIsKept) {
    ASSERT_TRUE(files.MoveTo("C:\\dist", "C:\\Temp\\tolvainstall", false).ok());
    setupState.SetupFolder = kExtract;

    ASSERT_EQ(StartUp(), StartupOutcome::kWizard);
    EXPECT_EQ(setupState.ExtractDir, "C:\\Temp\\tolvainstall2\\");
    ASSERT_TRUE(Run());

    EXPECT_EQ(LogLines().end()[-2], "Finished");
    EXPECT_EQ(Get(In(kInstall, "smtp.exe")), "smtp.exe v2");
    EXPECT_TRUE(files.FileExists(In(kExtract, "setup.dat")));
    EXPECT_FALSE(files.FolderExists("C:\\Temp\\tolvainstall2\\"));
}

TEST_F(InstallSequenceTest, NoExtractionFolderEndsTheStartUp) {
    for (const char* name :
         {"tolvainstall", "tolvainstall2", "tolvainstall3", "tolvainstall4", "tolvainstall5",
          "tolvainstall6", "tolvainstall7", "tolvainstall8", "tolvainstall9"}) {
        Put(In(kTemp, name), "someone's file");
    }

    EXPECT_EQ(StartUp(), StartupOutcome::kEnded);
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].text.rfind(u"Directory could not be created: ", 0), 0u);
    EXPECT_EQ(events.back(), "end 1603");
}

TEST_F(InstallSequenceTest, LeftoversInTheExtractionFolderAreNeverDeployed) {
    // A distribution without the groupware program, and one planted where setup.dat unpacks.
    std::map<std::string, std::string> setup = SetupArchive();
    setup.erase("cal.exe");
    PutArchive(In(kDist, "setup.dat"), setup);
    Put(In(kExtract, "cal.exe"), "planted program");

    ASSERT_EQ(StartUp(), StartupOutcome::kWizard);
    ASSERT_TRUE(Run());

    EXPECT_FALSE(files.FileExists(In(kInstall, "cal.exe")));
}

struct UpgradeCase {
    std::string oldVersion;
    bool legacyWebServerPatched;
    // Versions before 8.1.7 had another groupware program: its service goes with the first stop.
    std::string stopLine;
};

class UpgradeTest : public InstallSequenceTest,
                    public ::testing::WithParamInterface<UpgradeCase> {};

TEST_P(UpgradeTest, KeepsConfigurationAndRunsTheUpgradeProcedures) {
    const UpgradeCase& c = GetParam();
    SeedEarlierInstallation(c.oldVersion);
    const std::string legacyBefore = Get(In(kConfig, "webserver.cfg"));

    ASSERT_TRUE(Run());

    const std::vector<std::string> lines = LogLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Creating demo accounts"), 0);
    const auto starting = std::find(lines.begin(), lines.end(), "Starting services");
    ASSERT_NE(starting, lines.end());
    EXPECT_EQ(*(starting + 1), "Running upgrade procedures " + c.oldVersion + " -> 9.1.0");
    EXPECT_EQ(lines.end()[-2], "Finished");
    EXPECT_EQ(lines[2], c.stopLine);
    EXPECT_TRUE(setupState.IsUpgrade);
    EXPECT_EQ(window.steps, 12);
    EXPECT_EQ(Get(In(kConfig, "cert.pem")), "administrator's certificate");
    EXPECT_FALSE(files.FileExists(In(kConfig, "filters.dat"))) << "no module catalogue";
    EXPECT_EQ(Get(In(kConfig, "webserver.cfg")) != legacyBefore, c.legacyWebServerPatched);
    // The disabled service ran automatic during the upgrade and is disabled again.
    EXPECT_EQ(setupState.ServiceStartTypes[upgrade::kGroupWareService],
              static_cast<int32_t>(ServiceStartType::kDisabled));
    EXPECT_EQ(fake.ServiceManager().ConfigOf("TolvaCalendar")->startType,
              ServiceStartType::kDisabled);
    EXPECT_EQ(fake.ServiceManager().ConfigOf("TolvaSMTP")->startType, ServiceStartType::kAutomatic);
}

INSTANTIATE_TEST_SUITE_P(
    OldVersions, UpgradeTest,
    ::testing::Values(UpgradeCase{"9.0.5", false, "Services stopped"},
                      UpgradeCase{"7.7.3", false, "Error: Services could not be stopped"},
                      UpgradeCase{"7.7.2", true, "Error: Services could not be stopped"}));

}  // namespace
}  // namespace tolva::setup

#include "setup/startup.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "i18n/export_switch.h"
#include "platform/fake/fake_platform.h"
#include "setup/web_logon_address.h"
#include "startup_doubles.h"
#include "util/utf8.h"

namespace tolva::setup {
namespace {

using platform::DialogResult;
using platform::RegistryRoot;

constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
constexpr char kSetupFolder[] = "C:\\Setup\\";
constexpr char kProductKey[] = "Software\\Corvane\\Tolva Mail Server";
constexpr char kStartQuestion[] =
    "This will install Corvane Tolva Mail Server 9.1.0. Do you wish to continue?";
constexpr char kUninstallQuestion[] =
    "Are you sure to completely remove all files and components of this program?";

class RecordingUninstall : public UninstallRunner {
public:
    bool RunUninstall() override {
        ++runs;
        return !refuses;
    }
    int runs = 0;
    bool refuses = false;
};

class RecordingEnd : public ProcessEnd {
public:
    void EndProcess(int exitCode) override { codes.push_back(exitCode); }
    std::vector<int> codes;
};

class RecordingAbort : public util::SetupAbort {
public:
    explicit RecordingAbort(RecordingEnd& end) : end_(end) {}
    void Abort(std::u16string_view message, std::u16string_view) override {
        messages.emplace_back(message);
        end_.EndProcess(kExitInstallFailure);
    }
    std::vector<std::u16string> messages;

private:
    RecordingEnd& end_;
};

class RecordingShell : public platform::Shell {
public:
    std::string FolderPath(platform::SpecialFolder) const override { return {}; }
    platform::Status CreateLink(const platform::ShellLink&) override { return Unsupported(); }
    platform::Status ReadLink(std::string_view, platform::ShellLink&) const override {
        return Unsupported();
    }
    platform::Status Open(std::string_view target, std::string_view,
                          platform::ShowCommand) override {
        opened.emplace_back(target);
        return platform::Status::Ok();
    }
    platform::Status ShowNetworkConnectionDialog() override { return Unsupported(); }
    platform::Status ConnectNetworkShare(std::string_view, std::string_view,
                                         std::string_view) override {
        return Unsupported();
    }

    std::vector<std::string> opened;

private:
    static platform::Status Unsupported() {
        return platform::Status::Failure(platform::error::kNotSupported, "test shell");
    }
};

std::string Narrow(const std::u16string& text) {
    return util::WideToUTF8(text);
}

// One run of setup on a machine of its own.
class SetupRun {
public:
    SetupRun() {
        machine.Services().shell = &shell;
        EXPECT_TRUE(Files().CreateFolders(kSetupFolder).ok());
    }

    platform::MemoryFileSystem& Files() { return machine.Files(); }

    // A server installed at folder whose settings have these values.
    void InstallServer(const std::string& folder, uint16_t port, const std::string& hosts,
                       const std::string& consoleView = "advanced.xml") {
        ASSERT_TRUE(Files().CreateFolders(folder + "config\\").ok());
        stores::SettingsStore store(machine.Services());
        store.SetRootFolder(folder);
        store.SetConfigurationFolder(folder + "config\\");
        store.Record().SetControlHttpPort(port);
        store.Record().SetHostAddresses(hosts);
        store.Record().SetConsoleViewFile(consoleView);
        store.Record().SetLogPath(folder + "logs\\");
        ASSERT_TRUE(store.SaveSettings(true));
    }

    // A language beside the setup program, so that the language dialog has something to offer.
    void OfferGerman() {
        ASSERT_TRUE(Files().CreateFolders("C:\\Setup\\lang\\").ok());
        ASSERT_TRUE(Files()
                        .WriteWholeFile("C:\\Setup\\lang\\de.lng",
                                        "<?lang caption='Deutsch'?>\r\n<APPLICATION/>")
                        .ok());
    }

    void Registry(const char* name, const std::string& value) {
        ASSERT_TRUE(machine.Registry().WriteString(kMachine, kProductKey, name, value).ok());
    }

    StartupOutcome Run(std::vector<std::string> arguments = {}, StartupOptions options = {}) {
        settings.emplace(machine.Services(), stores::ProgramStart{arguments, kSetupFolder});
        localization.emplace(Files(), machine.System(), kSetupFolder,
                             i18n::HasExportLanguageSwitch(arguments), localizedStrings, strings);
        state.SetupFolder = kSetupFolder;
        StartupContext context{machine.Services(), arguments,    *settings, *localization,
                               languages,          pathRegistry, view,      &uninstall,
                               processEnd,         abort,        strings,   options};
        return RunStartup(context, state);
    }

    // The texts of the message boxes shown, in order.
    std::vector<std::string> Questions() {
        std::vector<std::string> texts;
        for (const platform::MessageBoxRequest& box : machine.Dialogs().Shown()) {
            texts.push_back(Narrow(box.text));
        }
        return texts;
    }

    platform::FakePlatform machine;
    RecordingShell shell;
    test::RecordingView view;
    RecordingUninstall uninstall;
    RecordingEnd processEnd;
    RecordingAbort abort{processEnd};
    test::ChoosingDialog languages;
    i18n::TLocalizationStrings localizedStrings;
    i18n::TUIStrings strings;
    winsys::TAdvancedRegistry pathRegistry{machine.Registry(), kMachine};
    std::optional<stores::SettingsStore> settings;
    std::optional<i18n::Localization> localization;
    SetupState state;
};

TEST(Startup, OnlyTheFirstArgumentDecidesTheRun) {
    const struct Case {
        std::vector<std::string> arguments;
        DialogResult answer;
        StartupOutcome outcome;
        std::vector<std::string> questions;
        int uninstalls;
        std::vector<std::string> opened;
    } cases[] = {
        {{}, DialogResult::kYes, StartupOutcome::kWizard, {kStartQuestion}, 0, {}},
        {{}, DialogResult::kNo, StartupOutcome::kEnded, {kStartQuestion}, 0, {}},
        {{"/SILENT"}, DialogResult::kNo, StartupOutcome::kWizard, {}, 0, {}},
        {{"/silent"}, DialogResult::kNo, StartupOutcome::kWizard, {}, 0, {}},
        {{"/SILENT", "/UNINSTALL"}, DialogResult::kNo, StartupOutcome::kWizard, {}, 0, {}},
        {{"/uninstall"}, DialogResult::kNo, StartupOutcome::kEnded, {kUninstallQuestion}, 0, {}},
        {{"/UNINSTALL"}, DialogResult::kYes, StartupOutcome::kEnded, {kUninstallQuestion}, 1, {}},
        {{"/WebMailLogon"},
         DialogResult::kNo,
         StartupOutcome::kEnded,
         {},
         0,
         {"http://mx.example:32000/mail/"}},
        {{"/WEBMAIL2LOGON"},
         DialogResult::kNo,
         StartupOutcome::kEnded,
         {},
         0,
         {"http://mx.example:32000/webmail/"}},
        {{"/webadminlogon", "/SILENT"},
         DialogResult::kNo,
         StartupOutcome::kEnded,
         {},
         0,
         {"http://mx.example:32000/admin/"}},
        {{"/INSTALL"}, DialogResult::kYes, StartupOutcome::kEnded, {}, 0, {}},
        {{"SILENT"}, DialogResult::kYes, StartupOutcome::kEnded, {}, 0, {}},
        {{"/SILENT", "-exportlanguage"}, DialogResult::kYes, StartupOutcome::kEnded, {}, 0, {}},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& argument : c.arguments) {
            line += "[" + argument + "]";
        }
        SCOPED_TRACE("arguments " + line);
        SetupRun run;
        // The switches work on the installation the setup program was started from.
        run.InstallServer(kSetupFolder, 32000, " mx.example ;other.example");
        run.machine.Dialogs().SetDefaultAnswer(c.answer);

        EXPECT_EQ(run.Run(c.arguments), c.outcome);
        EXPECT_EQ(run.Questions(), c.questions);
        EXPECT_EQ(run.uninstall.runs, c.uninstalls);
        EXPECT_EQ(run.shell.opened, c.opened);
        if (c.outcome == StartupOutcome::kEnded) {
            EXPECT_EQ(run.processEnd.codes, std::vector<int>{kExitSuccess});
            EXPECT_FALSE(run.view.pageSetUp);
        } else {
            EXPECT_TRUE(run.processEnd.codes.empty());
            EXPECT_TRUE(run.view.pageSetUp);
        }
    }
}

TEST(Startup, RefusedUninstallEndsAsAFailedRun) {
    SetupRun run;
    run.InstallServer(kSetupFolder, 32000, "mx.example");
    run.machine.Dialogs().SetDefaultAnswer(DialogResult::kYes);
    run.uninstall.refuses = true;
    EXPECT_EQ(run.Run({"/UNINSTALL"}), StartupOutcome::kEnded);
    EXPECT_EQ(run.uninstall.runs, 1);
    EXPECT_EQ(run.processEnd.codes, std::vector<int>{kExitInstallFailure});
}

TEST(Startup, QuestionsCarryTheProductInTheirCaption) {
    for (const char* argument : {"", "/UNINSTALL"}) {
        SetupRun run;
        run.machine.Dialogs().SetDefaultAnswer(DialogResult::kNo);
        run.Run(*argument ? std::vector<std::string>{argument} : std::vector<std::string>{});
        ASSERT_EQ(run.machine.Dialogs().Shown().size(), 1u) << argument;
        const platform::MessageBoxRequest& box = run.machine.Dialogs().Shown().front();
        EXPECT_EQ(Narrow(box.caption), "Corvane Tolva Mail Server Setup") << argument;
        EXPECT_EQ(box.buttons, platform::DialogButtons::kYesNo) << argument;
        EXPECT_EQ(box.icon, platform::DialogIcon::kQuestion) << argument;
        EXPECT_TRUE(box.taskModal) << argument;
    }
}

TEST(WebLogonAddress, PortAndHost) {
    const struct Case {
        uint16_t port;
        const char* hosts;
        StartSwitch webSwitch;
        const char* address;
    } cases[] = {
        {80, "mx.example", StartSwitch::kWebMailLogon, "http://mx.example/mail/"},
        {32000, "mx.example", StartSwitch::kWebMail2Logon, "http://mx.example:32000/webmail/"},
        {32000, "", StartSwitch::kWebAdminLogon, "http://localhost:32000/admin/"},
        {80, "  ;second.example", StartSwitch::kWebAdminLogon, "http://localhost/admin/"},
        {8080, "a.example;b.example", StartSwitch::kSilent, "http://a.example:8080"},
    };
    platform::FakePlatform machine;
    for (const Case& c : cases) {
        stores::SettingsStore settings(machine.Services());
        settings.Record().SetControlHttpPort(c.port);
        settings.Record().SetHostAddresses(c.hosts);
        EXPECT_EQ(WebLogonAddress(c.webSwitch, settings), c.address)
            << c.port << " [" << c.hosts << "]";
    }
}

TEST(Startup, InfoXmlSettings) {
    const struct Case {
        const char* content;  // nullptr: no info.xml
        bool advanced;
        const char* language;
    } cases[] = {
        {"<INFO><INTERFACEMODE>1</INTERFACEMODE><LANGUAGE>Deutsch</LANGUAGE></INFO>", false,
         "Deutsch"},
        {"<INFO><INTERFACEMODE>0</INTERFACEMODE></INFO>", true, ""},
        {"<INFO><INTERFACEMODE></INTERFACEMODE></INFO>", true, ""},
        {"<INFO><INTERFACEMODE>x</INTERFACEMODE></INFO>", true, ""},
        {"<INFO><INTERFACEMODE>7</INTERFACEMODE></INFO>", false, ""},
        // Only the first element's children count; names are case-sensitive.
        {"<INFO><interfacemode>1</interfacemode></INFO><MORE><INTERFACEMODE>1</INTERFACEMODE>"
         "</MORE>",
         true, ""},
        {nullptr, true, ""},
        {"", true, ""},
        {"\x01\xFF<<<&&", true, ""},
        {"<INFO><INTERFACEMODE>1</INTERFACEMODE>", false, ""},  // cut short: what was read counts
    };
    for (const Case& c : cases) {
        SetupRun run;
        if (c.content != nullptr) {
            ASSERT_TRUE(run.Files().WriteWholeFile("C:\\Setup\\info.xml", c.content).ok());
        }
        run.state.DefaultLanguage.clear();
        ASSERT_EQ(run.Run({"/SILENT"}), StartupOutcome::kWizard);
        const std::string label = c.content != nullptr ? c.content : "(no file)";
        EXPECT_EQ(run.state.AdvancedInterface, c.advanced) << label;
        EXPECT_EQ(run.state.DefaultLanguage, c.language) << label;
        EXPECT_EQ(run.state.InfoXmlFile, "C:\\Setup\\info.xml") << label;
    }
}

TEST(Startup, InfoXmlTextsWithEntities) {
    SetupRun run;
    run.state.ProductsXmlUrl = "stale";
    run.state.SetupEmail = "stale";
    ASSERT_TRUE(run.Files()
                    .WriteWholeFile("C:\\Setup\\info.xml",
                                    "<?xml version=\"1.0\"?>\r\n<INFO>"
                                    "<PRODUCTSXML>http://p.example/a?x=1&amp;y=2</PRODUCTSXML>"
                                    "<FOOTERVALUE>Caf\xC3\xA9 &lt;mail&gt;</FOOTERVALUE>"
                                    "<MODULEDOWNLOAD>http://m.example/modules.xml</MODULEDOWNLOAD>"
                                    "</INFO>")
                    .ok());
    ASSERT_EQ(run.Run({"/SILENT"}), StartupOutcome::kWizard);
    EXPECT_EQ(run.state.ProductsXmlUrl, "http://p.example/a?x=1&y=2");
    EXPECT_EQ(run.state.FooterValue, "Caf\xC3\xA9 <mail>");  // no character-set conversion
    EXPECT_EQ(run.state.ModuleDownloadUrl, "http://m.example/modules.xml");
    EXPECT_EQ(run.state.SetupEmail, "");  // cleared at start, absent from the file
}

TEST(Startup, NewInstallation) {
    const struct Case {
        std::optional<std::string> programFiles;
        const char* installDir;
    } cases[] = {
        {std::nullopt, "C:\\Program Files\\Tolva\\"},
        {"", "C:\\Program Files\\Tolva\\"},
        {"D:\\Programme", "D:\\Programme\\Tolva\\"},
        {"D:\\Apps\\", "D:\\Apps\\Tolva\\"},
    };
    for (const Case& c : cases) {
        SetupRun run;
        if (c.programFiles) {
            ASSERT_TRUE(run.machine.Registry()
                            .WriteString(kMachine, "Software\\Microsoft\\Windows\\CurrentVersion",
                                         "ProgramFilesDir", *c.programFiles)
                            .ok());
        }
        ASSERT_EQ(run.Run({"/SILENT"}), StartupOutcome::kWizard);

        EXPECT_EQ(run.state.InstallDir, c.installDir);
        EXPECT_EQ(run.state.OldVersion, "");
        EXPECT_EQ(run.state.PreviousInstallDir, "");
        EXPECT_EQ(run.state.LogDir, "");
        EXPECT_FALSE(run.state.NoInstallIM || run.state.NoInstallCalendar ||
                     run.state.NoInstallAV || run.state.NoInstallIAS || run.state.NoInstallMail);
        EXPECT_FALSE(run.view.iconsDeselected);
        EXPECT_FALSE(run.view.installationModeHidden);
        EXPECT_EQ(run.view.setupTypeHeading, u"");
        EXPECT_FALSE(run.view.webmailNote);
    }

    SetupRun run;
    ASSERT_EQ(run.Run({"/SILENT"}), StartupOutcome::kWizard);
    EXPECT_EQ(run.state.ExtractDir, run.machine.System().TempFolder() + "tolvainstall\\");
    EXPECT_EQ(run.state.LicenseFile, "C:\\Setup\\license.txt");
    EXPECT_EQ(run.state.ReadmeFile, "C:\\Setup\\readme.txt");
    EXPECT_EQ(run.state.SetupTitle, "Corvane Tolva Mail Server 9.1.0 Setup");
    EXPECT_EQ(run.view.title, u"Corvane Tolva Mail Server 9.1.0 Setup");
    EXPECT_EQ(run.view.welcomeVersion, u"9.1.0");
    EXPECT_EQ(run.view.agreement, u"");  // no license.txt

    SetupRun withoutTemp;
    withoutTemp.machine.System().SetTempFolder("");
    ASSERT_EQ(withoutTemp.Run({"/SILENT"}), StartupOutcome::kWizard);
    EXPECT_EQ(withoutTemp.state.ExtractDir, "C:\\Setup\\temp\\");
}

TEST(Startup, TheLicenseIsShownAsUTF8) {
    SetupRun run;
    ASSERT_TRUE(
        run.Files().WriteWholeFile("C:\\Setup\\license.txt", "Lizenz \xC3\xBC\r\nZeile 2").ok());
    ASSERT_EQ(run.Run({"/SILENT"}), StartupOutcome::kWizard);
    EXPECT_EQ(run.view.agreement, u"Lizenz \u00FC\r\nZeile 2");
}

TEST(Startup, ACancelledLanguageDialogEndsTheRun) {
    SetupRun run;
    run.OfferGerman();
    EXPECT_EQ(run.Run(), StartupOutcome::kEnded);
    EXPECT_EQ(run.languages.shown, 1);
    EXPECT_EQ(run.processEnd.codes, std::vector<int>{kExitSuccess});
    EXPECT_TRUE(run.Questions().empty());  // before the start question
}

// A command line read as run switches: the first argument no longer decides.
TEST(Startup, RunSwitchesChooseTheRunThemselves) {
    const struct Case {
        StartupOptions options;
        StartupOutcome outcome;
        std::vector<std::string> questions;
        int uninstalls;
    } cases[] = {
        {{.runSwitches = true}, StartupOutcome::kWizard, {kStartQuestion}, 0},
        {{.runSwitches = true, .silent = true}, StartupOutcome::kWizard, {}, 0},
        {{.runSwitches = true, .uninstall = true}, StartupOutcome::kEnded, {kUninstallQuestion}, 1},
    };
    for (const Case& c : cases) {
        SetupRun run;
        run.machine.Dialogs().SetDefaultAnswer(DialogResult::kYes);
        EXPECT_EQ(run.Run({"/QUIET", "/UNKNOWN"}, c.options), c.outcome);
        EXPECT_EQ(run.Questions(), c.questions);
        EXPECT_EQ(run.uninstall.runs, c.uninstalls);
    }
}

TEST(Startup, ADryRunChangesNothingAndAsksNothing) {
    SetupRun run;
    run.OfferGerman();
    ASSERT_TRUE(
        run.machine.Registry().WriteString(kMachine, "Software\\Tolva", "Version", "7.5.0").ok());
    ASSERT_EQ(run.Run({"/CHECK"}, {.runSwitches = true, .dryRun = true}), StartupOutcome::kWizard);
    EXPECT_TRUE(run.Questions().empty());
    EXPECT_EQ(run.languages.shown, 0);
    EXPECT_FALSE(run.Files().FolderExists(run.machine.System().TempFolder() + "tolvainstall\\"));
    EXPECT_FALSE(run.machine.Registry().KeyExists(kMachine, "Software\\Corvane"))
        << "no older product key copied";
}

TEST(Startup, ALanguageThatIsNotOfferedEndsTheRunAsTold) {
    SetupRun run;
    run.OfferGerman();
    EXPECT_EQ(
        run.Run({"/QUIET"}, {.runSwitches = true, .languageRefusedExit = kExitInvalidCommandLine}),
        StartupOutcome::kEnded);
    EXPECT_EQ(run.processEnd.codes, std::vector<int>{kExitInvalidCommandLine});
}

TEST(Startup, AnEarlierInstallationIsUpgraded) {
    const struct Case {
        const char* version;
        bool note;
    } cases[] = {
        {"8.9.0", true}, {"9.0.0-2", true}, {"9.0.0-3", false}, {"9.1.0", false}, {"", false}};
    for (const Case& c : cases) {
        SetupRun run;
        run.InstallServer("D:\\Mail Server\\", 32000, "mx.example", "basic.xml");
        run.Registry("InstallDir", "D:\\Mail Server");
        run.Registry("Version", c.version);
        run.Registry("Name", "J\xF6rg");
        run.Registry("Email", "joerg@example.com");
        run.Registry("Company", "Example");
        run.Registry("Country", "Germany");
        ASSERT_TRUE(
            run.machine.Registry().WriteDword(kMachine, kProductKey, "NoInstallAV", 1).ok());
        ASSERT_TRUE(
            run.machine.Registry().WriteDword(kMachine, kProductKey, "NoInstallIM", 0).ok());
        ASSERT_EQ(run.Run({"/SILENT"}), StartupOutcome::kWizard) << c.version;

        EXPECT_EQ(run.state.InstallDir, "D:\\Mail Server\\") << c.version;
        EXPECT_EQ(run.state.PreviousInstallDir, "D:\\Mail Server\\") << c.version;
        EXPECT_EQ(run.settings->RootFolder(), "D:\\Mail Server\\") << c.version;
        EXPECT_EQ(run.settings->ConfigurationFolder(), "D:\\Mail Server\\config\\") << c.version;
        EXPECT_EQ(run.state.OldVersion, c.version);
        EXPECT_EQ(run.state.LogDir, "D:\\Mail Server\\logs\\") << c.version;
        EXPECT_FALSE(run.state.AdvancedInterface) << c.version;
        EXPECT_TRUE(run.state.NoInstallAV) << c.version;
        EXPECT_FALSE(run.state.NoInstallIM || run.state.NoInstallMail) << c.version;
        EXPECT_EQ(run.view.setupTypeHeading, u"Upgrade Setup.") << c.version;
        EXPECT_TRUE(run.view.iconsDeselected) << c.version;
        EXPECT_TRUE(run.view.installationModeHidden) << c.version;
        EXPECT_EQ(run.view.userDetails,
                  (std::vector<std::u16string>{u"J\u00F6rg", u"joerg@example.com", u"Example",
                                               u"Germany"}))
            << c.version;
        EXPECT_EQ(run.view.webmailNote.has_value(), c.note) << c.version;
        if (c.note) {
            EXPECT_EQ(*run.view.webmailNote, u"http://mx.example:32000/webmail/");
        }
    }
}

TEST(Startup, AnInstallationWithoutConfigurationFolderKeepsTheInstallationMode) {
    SetupRun run;
    // Left by a version before the vendor key: copied forward at start-up.
    ASSERT_TRUE(run.machine.Registry()
                    .WriteString(kMachine, "Software\\Tolva", "InstallDir", "E:\\Old\\")
                    .ok());
    ASSERT_TRUE(
        run.machine.Registry().WriteString(kMachine, "Software\\Tolva", "Version", "7.5.0").ok());
    ASSERT_EQ(run.Run({"/SILENT"}), StartupOutcome::kWizard);
    EXPECT_EQ(run.state.InstallDir, "E:\\Old\\");
    EXPECT_EQ(run.state.OldVersion, "7.5.0");
    EXPECT_EQ(run.state.LogDir, "");
    EXPECT_FALSE(run.view.installationModeHidden);
    EXPECT_TRUE(run.view.iconsDeselected);
    EXPECT_TRUE(run.view.webmailNote);
}

TEST(Startup, AConfigurationFolderWithoutSettingsLeavesTheLogInTheInstallation) {
    SetupRun run;
    ASSERT_TRUE(run.Files().CreateFolders("D:\\Mail Server\\config\\").ok());
    run.Registry("InstallDir", "D:\\Mail Server\\");
    ASSERT_EQ(run.Run({"/SILENT"}), StartupOutcome::kWizard);
    EXPECT_EQ(run.state.LogDir, "") << "not the relative default of a settings record never read";
    EXPECT_TRUE(run.view.installationModeHidden);
}

TEST(Startup, AFailureWhileExaminingTheEarlierInstallationFallsBackToTheDefaultFolder) {
    SetupRun run;
    run.InstallServer("D:\\Mail\\", 80, "");
    run.Registry("InstallDir", "D:\\Mail\\");
    run.Registry("Name", "Ann");
    run.view.failHeading = true;
    run.state.InstallDir = "X:\\Stale\\";
    ASSERT_EQ(run.Run({"/SILENT"}), StartupOutcome::kWizard);
    EXPECT_EQ(run.state.InstallDir, "C:\\Program Files\\Tolva\\");
    EXPECT_TRUE(run.view.userDetails.empty());  // the rest of the examination was skipped
    EXPECT_TRUE(run.view.pageSetUp);
}

TEST(ComponentExclusions, WrittenAndReadBack) {
    platform::FakeRegistry registry;
    winsys::TAdvancedRegistry product(registry, kMachine, kProductArea, kProductSection);
    SetupState written;
    written.NoInstallCalendar = true;
    written.NoInstallMail = true;
    WriteComponentExclusions(product, written);

    SetupState read;
    read.NoInstallIM = true;  // every value is read, false ones included
    ReadComponentExclusions(product, read);
    EXPECT_FALSE(read.NoInstallIM);
    EXPECT_TRUE(read.NoInstallCalendar);
    EXPECT_FALSE(read.NoInstallAV);
    EXPECT_FALSE(read.NoInstallIAS);
    EXPECT_TRUE(read.NoInstallMail);
    uint32_t stored = 7;
    ASSERT_TRUE(registry.ReadDword(kMachine, kProductKey, "NoInstallMail", stored).ok());
    EXPECT_EQ(stored, 1u);
}

}  // namespace
}  // namespace tolva::setup

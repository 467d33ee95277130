// Deployment of a small distribution into real files: a new installation, the keep-existing
// rules of an upgrade, the anti-virus engine, archives that fail, archives the module download
// fetched, the administration-only variant and the removal of left-out components.

#include <gtest/gtest.h>

#include <algorithm>

#include "deployment_fixture.h"
#include "setup/deployment.h"

namespace tolva::setup {
namespace {

using test::DeploymentRun;
using test::Events;

constexpr char kInstall[] = "C:\\Tolva Mail Server\\";
constexpr char kConfig[] = "C:\\Tolva Mail Server\\config\\";
constexpr char kDist[] = "C:\\dist\\";
constexpr char kExtract[] = "C:\\Temp\\tolvainstall\\";

std::string In(const char* folder, const std::string& name) {
    return folder + name;
}

class DeploymentTest : public ::testing::Test, protected DeploymentRun {
protected:
    DeploymentTest() {
        Put(In(kDist, "setup.exe"), "setup program");
        Put(In(kDist, "releasenotes.txt"), "notes");
        Put(In(kDist, "info.xml"), "<info/>");
        Put(In(kDist, "license.txt"), "licence");
        Put(In(kDist, "readme.txt"), "read me");
        Put(In(kDist, "setupphp.dat"), "php archive");
        PutArchive(In(kDist, "setupas.dat"), {{"antispam.db", "shipped db"},
                                              {"rules\\1_core.cf", "core rules v2"},
                                              {"rules\\local.cf", "shipped local"},
                                              {"template\\report.tpl", "report v2"}});
        PutArchive(In(kDist, "setupavast.dat"),
                   {{"setiface.dll", "library"}, {"avastoem.exe", "engine setup"}});
        PutArchive(In(kDist, "setupldap.dat"),
                   {{"create.bat", "@echo off"}, {"schema.ldif", "schema"}});
        PutArchive(In(kDist, "setupwizard.dat"), {{"domain.html", "wizard v2"}});
        PutArchive(In(kDist, "setupaspell.dat"),
                   {{"bin\\aspell-15.dll", "speller"}, {"dict\\en.dat", "words v2"}});
        PutArchive(In(kDist, "setupwebmail2.dat"), {{"webmail\\index.php", "webmail v2"}});
        PutArchive(In(kDist, "setupconfig.dat"), {{"config.exe", "console"}});
        PutArchive(In(kDist, "setupfirst.dat"), {{"mail\\welcome.txt", "first"}});
        PutArchive(In(kDist, "setupcustom.dat"), {{"html\\index.html", "branded"}});

        StageMainArchive();
    }

    // What the install sequence extracts from setup.dat before each deployment, which moves it
    // into the installation.
    void StageMainArchive() {
        for (std::string_view program : kCoreProgramFiles) {
            Put(In(kExtract, std::string(program)), std::string(program) + " v2");
        }
        for (const char* name : {"corvanecom.dll", "im.exe", "cal.exe"}) {
            Put(In(kExtract, name), std::string(name) + " v2");
        }
        Put(In(kExtract, "cert.pem"), "shipped certificate");
        Put(In(kExtract, "webserver.dat"),
            "<WEB>\n  <ROOT>%%installpath%%html\\</ROOT>\n\n<LOG>%%logpath%%</LOG>\n</WEB>\n");
        for (const char* tree : {"doc", "modules", "html", "api", "examples", "xml"}) {
            Put(std::string(kExtract) + tree + "\\" + tree + ".txt", std::string(tree) + " v2");
        }
        Put(In(kExtract, "html\\index.html"), "index v2");
        Put(In(kExtract, "calendar\\calendar.xml"), "calendar v2");
        Put(In(kExtract, "calendar\\groupware.db"), "shipped groupware db");
        Put(In(kExtract, "calendar\\holidays\\us.txt"), "holidays v2");
        Put(In(kExtract, "calendar\\doc\\help.html"), "help v2");
        Put(In(kExtract, "calendar\\skins\\blue.css"), "skin v2");
    }

    Deployment MakeDeployment() {
        return Deployment(platform, state, log, abort, progress, processEnd, calls);
    }

    // Seeds an installation of an earlier version that the administrator configured.
    void SeedEarlierInstallation() {
        state.IsUpgrade = true;
        state.OldVersion = "9.0.5";
        Put(In(kInstall, "smtp.exe"), "smtp.exe v1");
        Put(In(kConfig, "cert.pem"), "administrator's certificate");
        Put(In(kConfig, "webserver.dat"), "administrator's web server");
        Put(In(kInstall, "spam\\antispam.db"), "learned db");
        Put(In(kInstall, "spam\\rules\\1_core.cf"), "core rules v1");
        Put(In(kInstall, "spam\\rules\\5_old.cf"), "retired rules");
        Put(In(kInstall, "spam\\rules\\7_site.cf"), "site rules");
        Put(In(kInstall, "spam\\rules\\local.cf"), "administrator's rules");
        Put(In(kInstall, "spam\\template\\report.tpl"), "report v1");
        Put(In(kInstall, "calendar\\calendar.xml"), "calendar v1");
        Put(In(kInstall, "calendar\\groupware.db"), "users' events");
        Put(In(kInstall, "calendar\\skins\\blue.css"), "administrator's skin");
        Put(In(kInstall, "ldap\\schema.ldif"), "administrator's schema");
        Put(In(kInstall, "wizards\\domain.html"), "wizard v1");
        Put(In(kInstall, "aspell\\dict\\en.dat"), "words v1");
        Put(In(kInstall, "avast\\setup\\setiface.dll"), "engine library v1");
        Put(In(kInstall, "webmail\\index.php"), "webmail v1");
    }
};

TEST_F(DeploymentTest, NewInstallation) {
    ASSERT_TRUE(MakeDeployment().DeployFiles(false));

    const Events expected = {
        "text Installing Files...",
        "text Installing Files...",
        "step",
        "text Installing Antivirus Engine...",
        "calls LoadAntivirusLibrary C:\\Temp\\tolvainstall\\avast\\",
        "calls InstallAntivirusEngine C:\\Tolva Mail Server\\avast",
        "calls UnloadAntivirusLibrary",
        "calls LoadAntivirusLibrary C:\\Tolva Mail Server\\avast\\setup\\",
        "calls UpdateAntivirusEngine",
        "calls UnloadAntivirusLibrary",
        "calls DeployPhp C:\\dist\\",
        "calls StartHidden C:\\Tolva Mail Server\\ldap\\create.bat in C:\\Tolva Mail "
        "Server\\ldap\\",
        "calls SetSpellChecking on",
        "step",
        "text Installing WebMail...",
    };
    EXPECT_EQ(events, expected);
    EXPECT_TRUE(dialogs.Shown().empty());

    const std::pair<std::string, std::string> deployed[] = {
        {"smtp.exe", "smtp.exe v2"},
        {"libiconv.dll", "libiconv.dll v2"},
        {"corvanecom.dll", "corvanecom.dll v2"},
        {"im.exe", "im.exe v2"},
        {"cal.exe", "cal.exe v2"},
        {"config\\cert.pem", "shipped certificate"},
        {"xml\\info.xml", "<info/>"},
        {"doc\\doc.txt", "doc v2"},
        {"examples\\examples.txt", "examples v2"},
        {"spam\\antispam.db", "shipped db"},
        {"spam\\rules\\1_core.cf", "core rules v2"},
        {"spam\\rules\\local.cf", "shipped local"},
        {"spam\\template\\report.tpl", "report v2"},
        {"calendar\\groupware.db", "shipped groupware db"},
        {"calendar\\skins\\blue.css", "skin v2"},
        {"avast\\setup\\setiface.dll", "engine"},
        {"doc\\readme.txt", "read me"},
        {"doc\\license.txt", "licence"},
        {"doc\\releasenotes.txt", "notes"},
        {"control.exe.local", ""},
        {"config\\webserver.dat",
         "<WEB>\r\n<ROOT>C:\\Tolva Mail Server\\html\\</ROOT>\r\n"
         "<LOG>C:\\Tolva Mail Server\\logs\\</LOG>\r\n</WEB>\r\n"},
        {"setup.exe", "setup program"},
        {"ldap\\create.bat", "@echo off"},
        {"wizards\\domain.html", "wizard v2"},
        {"aspell\\dict\\en.dat", "words v2"},
        {"webmail\\index.php", "webmail v2"},
        {"mail\\welcome.txt", "first"},
        // The customisation archive comes last and wins.
        {"html\\index.html", "branded"},
    };
    for (const auto& [name, content] : deployed) {
        EXPECT_EQ(Get(In(kInstall, name)), content) << name;
    }
    EXPECT_FALSE(Has(In(kInstall, "setup.lng")));
    EXPECT_FALSE(files.FolderExists(In(kExtract, "spam\\")));
    EXPECT_FALSE(files.FolderExists(In(kExtract, "avast\\")));
    // The main archive's deployed files were moved, not copied; what later steps read stays.
    for (const char* moved : {"smtp.exe", "cert.pem", "html\\index.html", "xml\\xml.txt",
                              "calendar\\groupware.db", "calendar\\skins\\blue.css"}) {
        EXPECT_FALSE(Has(In(kExtract, moved))) << moved;
    }
    EXPECT_TRUE(Has(In(kExtract, "webserver.dat")));
}

TEST_F(DeploymentTest, ExtractionLetsMessagesRunEvery128KiBAndAtItsEnd) {
    const auto report = MessagesWhileExtracting(progress);
    constexpr uint64_t kKiB = 1024, kTotal = 300 * kKiB;
    const std::pair<uint64_t, int> reads[] = {
        {1, 0},
        {100, 0},
        {128 * kKiB - 1, 0},
        {128 * kKiB, 1},
        {200 * kKiB, 1},
        {256 * kKiB, 2},
        {kTotal, 3},
        // Reads at the end of the file report the same position again.
        {kTotal, 3},
    };
    for (const auto& [done, passes] : reads) {
        report(done, kTotal);
        EXPECT_EQ(progress.pendingPasses, passes) << done;
    }
}

TEST_F(DeploymentTest, UpgradeKeepsWhatTheAdministratorMade) {
    SeedEarlierInstallation();
    ASSERT_TRUE(MakeDeployment().DeployFull());

    const std::pair<std::string, std::string> expected[] = {
        // Replaced.
        {"smtp.exe", "smtp.exe v2"},
        {"spam\\rules\\1_core.cf", "core rules v2"},
        {"spam\\template\\report.tpl", "report v2"},
        {"calendar\\calendar.xml", "calendar v2"},
        {"calendar\\holidays\\us.txt", "holidays v2"},
        {"webmail\\index.php", "webmail v2"},
        // Kept.
        {"config\\cert.pem", "administrator's certificate"},
        {"config\\webserver.dat", "administrator's web server"},
        {"spam\\antispam.db", "learned db"},
        {"spam\\rules\\local.cf", "administrator's rules"},
        {"spam\\rules\\7_site.cf", "site rules"},
        {"calendar\\groupware.db", "users' events"},
        {"calendar\\skins\\blue.css", "administrator's skin"},
        {"ldap\\schema.ldif", "administrator's schema"},
        {"wizards\\domain.html", "wizard v1"},
        {"aspell\\dict\\en.dat", "words v1"},
        {"avast\\setup\\setiface.dll", "engine library v1"},
        // Removed, or only for new installations.
        {"spam\\rules\\5_old.cf", "(missing)"},
        {"ldap\\create.bat", "(missing)"},
        {"mail\\welcome.txt", "(missing)"},
    };
    for (const auto& [name, content] : expected) {
        EXPECT_EQ(Get(In(kInstall, name)), content) << name;
    }
    for (const std::string& event : events) {
        EXPECT_EQ(event.find("StartHidden"), std::string::npos) << event;
        EXPECT_EQ(event.find("InstallAntivirusEngine"), std::string::npos) << event;
    }
}

TEST_F(DeploymentTest, OlderWebmailArchiveFillsTheMailPagesAndTheWebmailFolder) {
    SeedEarlierInstallation();
    Put(In(kInstall, "webmail\\projects\\old.prj"), "old project");
    PutArchive(In(kDist, "setupwebmail.dat"), {{"html\\login.html", "login v2"},
                                               {"lib\\mail.php", "mail v2"},
                                               {"projects\\new.prj", "new project"}});
    ASSERT_TRUE(MakeDeployment().DeployFull());

    const std::pair<std::string, std::string> expected[] = {
        // Its pages go with the web server's, the rest into the webmail folder.
        {"html\\mail\\login.html", "login v2"},
        {"webmail\\lib\\mail.php", "mail v2"},
        {"webmail\\projects\\new.prj", "new project"},
        {"webmail\\index.php", "webmail v2"},
        // The earlier projects are replaced, the pages not left in the webmail folder.
        {"webmail\\projects\\old.prj", "(missing)"},
        {"webmail\\html\\login.html", "(missing)"},
    };
    for (const auto& [name, content] : expected) {
        EXPECT_EQ(Get(In(kInstall, name)), content) << name;
    }
    EXPECT_TRUE(files.FolderExists(In(kInstall, "webmail\\config\\")));
    EXPECT_FALSE(files.FolderExists(In(kExtract, "webmail\\")));
}

TEST_F(DeploymentTest, ConfigurationFilesOfOlderLayoutsMoveIntoTheConfigurationFolder) {
    state.IsUpgrade = true;
    Put(In(kInstall, "cert.pem"), "root certificate");
    Put(In(kInstall, "db.ini"), "root db.ini");
    Put(In(kInstall, "default.ini"), "root default.ini");
    Put(In(kConfig, "default.ini"), "config default.ini");
    ASSERT_TRUE(MakeDeployment().DeployFull());

    EXPECT_EQ(Get(In(kConfig, "cert.pem")), "root certificate");
    EXPECT_FALSE(Has(In(kInstall, "cert.pem")));
    EXPECT_EQ(Get(In(kConfig, "db.ini")), "root db.ini");
    // Where both exist, both stay.
    EXPECT_EQ(Get(In(kInstall, "default.ini")), "root default.ini");
    EXPECT_EQ(Get(In(kConfig, "default.ini")), "config default.ini");
}

TEST_F(DeploymentTest, AntivirusEngineOfOldVersionsIsInstalledAfresh) {
    struct Case {
        const char* oldVersion;
        bool folderRemoved;
    };
    const Case cases[] = {{"8.2.6", true}, {"7.7.2", true}, {"8.2.7", false}, {"9.0.5", false}};
    for (const Case& c : cases) {
        events.clear();
        state.IsUpgrade = true;
        state.OldVersion = c.oldVersion;
        Put(In(kInstall, "avast\\setup\\setiface.dll"), "engine library v1");
        Put(In(kInstall, "avast\\defs\\old.vps"), "old definitions");
        StageMainArchive();
        ASSERT_TRUE(MakeDeployment().DeployFull()) << c.oldVersion;

        EXPECT_EQ(Has(In(kInstall, "avast\\defs\\old.vps")), !c.folderRemoved) << c.oldVersion;
        const bool installed =
            std::find(events.begin(), events.end(),
                      "calls InstallAntivirusEngine C:\\Tolva Mail Server\\avast") != events.end();
        EXPECT_EQ(installed, c.folderRemoved) << c.oldVersion;
        EXPECT_NE(std::find(events.begin(), events.end(), "calls UpdateAntivirusEngine"),
                  events.end())
            << c.oldVersion;
    }
}

TEST_F(DeploymentTest, LeftOutComponentsAreNotDeployed) {
    state.NoInstallIAS = true;
    state.NoInstallAV = true;
    state.NoInstallCalendar = true;
    for (int32_t key : {component_key::kWebmail, component_key::kLdap, component_key::kWizards,
                        component_key::kASpell}) {
        state.Selected[static_cast<size_t>(key)] = false;
    }
    for (const char* archive : {"setupas.dat", "setupavast.dat", "setupldap.dat", "setupwizard.dat",
                                "setupaspell.dat", "setupwebmail2.dat"}) {
        ASSERT_TRUE(files.RemoveFile(In(kDist, archive)));
    }
    ASSERT_TRUE(MakeDeployment().DeployFull());

    const Events expected = {"text Installing Files...",   "step", "calls DeployPhp C:\\dist\\",
                             "calls SetSpellChecking off", "step", "text Installing WebMail..."};
    EXPECT_EQ(events, expected);
    for (const char* folder :
         {"spam\\", "calendar\\", "avast\\", "ldap\\", "wizards\\", "aspell\\", "webmail\\"}) {
        EXPECT_FALSE(files.FolderExists(In(kInstall, folder))) << folder;
    }
}

TEST_F(DeploymentTest, ArchivesThatMustExtractAbortTheInstallation) {
    for (const char* archive :
         {"setupas.dat", "setupavast.dat", "setupwebmail2.dat", "setupwebmail.dat"}) {
        events.clear();
        const std::string path = In(kDist, archive);
        if (!Has(path)) {
            PutArchive(path, {{"html\\inbox.html", "inbox"}});
        }
        std::string bytes;
        ASSERT_TRUE(files.ReadWholeFile(path, bytes)) << archive;
        // Cut inside the first entry's header.
        Put(path, bytes.substr(0, 20));
        StageMainArchive();

        EXPECT_FALSE(MakeDeployment().DeployFull()) << archive;
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back(),
                  std::string("abort Extracting files error: data file error ") + archive);
        // Nothing after the failed step ran: the customisation archive is applied last.
        EXPECT_NE(Get(In(kInstall, "html\\index.html")), "branded") << archive;
        Put(path, bytes);
    }
}

TEST_F(DeploymentTest, ArchivesWhoseFailureIsIgnored) {
    for (const char* archive : {"setupldap.dat", "setupwizard.dat", "setupaspell.dat",
                                "setupfirst.dat", "setupcustom.dat"}) {
        Put(In(kDist, archive), std::string("ILDS\x09\0\0\0\0\x03\0\0\0\0\0\0\0\x05", 18));
    }
    ASSERT_TRUE(MakeDeployment().DeployFull());
    for (const std::string& event : events) {
        EXPECT_NE(event.rfind("abort", 0), 0u) << event;
    }
    EXPECT_EQ(Get(In(kInstall, "html\\index.html")), "index v2");
}

TEST_F(DeploymentTest, FetchedArchivesAreTakenFromTheExtractionFolder) {
    std::string archive;
    ASSERT_TRUE(files.ReadWholeFile(In(kDist, "setupwizard.dat"), archive));
    ASSERT_TRUE(files.RemoveFile(In(kDist, "setupwizard.dat")));
    Put(In(kExtract, "setupwizard.dat"), archive);
    // Only archives the download can fetch are looked for there.
    ASSERT_TRUE(files.MoveTo(In(kDist, "setupcustom.dat"), In(kExtract, "setupcustom.dat"), false));

    EXPECT_EQ(ArchivePath(files, state, "setupwizard.dat"), In(kExtract, "setupwizard.dat"));
    EXPECT_EQ(ArchivePath(files, state, "setupas.dat"), In(kDist, "setupas.dat"));
    EXPECT_EQ(ArchivePath(files, state, "setupcustom.dat"), In(kDist, "setupcustom.dat"));
    ASSERT_TRUE(MakeDeployment().DeployFull());
    EXPECT_EQ(Get(In(kInstall, "wizards\\domain.html")), "wizard v2");
    EXPECT_EQ(Get(In(kInstall, "html\\index.html")), "index v2");
}

TEST_F(DeploymentTest, PhpIsDeployedFromWhereItsArchiveLies) {
    ASSERT_TRUE(files.MoveTo(In(kDist, "setupphp.dat"), In(kExtract, "setupphp.dat"), false));
    ASSERT_TRUE(MakeDeployment().DeployFull());
    EXPECT_NE(std::find(events.begin(), events.end(), "calls DeployPhp C:\\Temp\\tolvainstall\\"),
              events.end());

    events.clear();
    ASSERT_TRUE(files.RemoveFile(In(kExtract, "setupphp.dat")));
    StageMainArchive();
    ASSERT_TRUE(MakeDeployment().DeployFull());
    for (const std::string& event : events) {
        EXPECT_EQ(event.find("DeployPhp"), std::string::npos) << event;
    }
}

TEST_F(DeploymentTest, MissingReleaseNotesAskAndCancelEndsTheInstallation) {
    ASSERT_TRUE(files.RemoveFile(In(kDist, "releasenotes.txt")));
    dialogs.QueueAnswer(platform::DialogResult::kCancel);
    EXPECT_FALSE(MakeDeployment().DeployFull());
    EXPECT_EQ(events.back(), "end 1603");
    EXPECT_FALSE(Has(In(kInstall, "setup.exe")));
}

TEST_F(DeploymentTest, InstallationFolderThatCannotBeCreatedAborts) {
    Put("C:\\blocked", "a file where the folder would go");
    state.InstallDir = "C:\\blocked\\Mail\\";
    EXPECT_FALSE(MakeDeployment().DeployFiles(false));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].rfind("abort Directory could not be created: ", 0), 0u) << events[1];
    EXPECT_GT(events[1].size(), std::string("abort Directory could not be created: ").size());
}

TEST_F(DeploymentTest, AdministrationOnlyDeploysTheConsoleAlone) {
    ASSERT_TRUE(MakeDeployment().DeployFiles(true));
    EXPECT_EQ(Get(In(kInstall, "config.exe")), "console");
    EXPECT_FALSE(Has(In(kInstall, "smtp.exe")));
    EXPECT_FALSE(files.FolderExists(kConfig));
    EXPECT_EQ(events, Events{"text Installing Files..."});

    ASSERT_TRUE(files.RemoveFile(In(kDist, "setupconfig.dat")));
    EXPECT_FALSE(MakeDeployment().DeployFiles(true));
    EXPECT_EQ(events.back(), "abort Extracting files error: data file error setupconfig.dat");
}

TEST_F(DeploymentTest, RemoveExcludedComponents) {
    struct Case {
        bool im, calendar, av, antiSpam;
        std::vector<std::string> removed;
    };
    const Case cases[] = {
        {false, false, false, false, {}},
        {true, false, false, false, {"im.exe"}},
        {false, true, false, false, {"cal.exe"}},
        {false, false, true, false, {"avast\\setup\\setiface.dll"}},
        {false, false, false, true, {"spam\\antispam.db", "spam\\rules\\local.cf"}},
        {true,
         true,
         true,
         true,
         {"im.exe", "cal.exe", "avast\\setup\\setiface.dll", "spam\\antispam.db",
          "spam\\rules\\local.cf"}},
    };
    const std::vector<std::string> installed = {"im.exe",
                                                "cal.exe",
                                                "avast\\setup\\setiface.dll",
                                                "spam\\antispam.db",
                                                "spam\\rules\\local.cf",
                                                "webmail\\index.php",
                                                "ldap\\schema.ldif",
                                                "wizards\\domain.html",
                                                "aspell\\dict\\en.dat"};
    for (const Case& c : cases) {
        for (const std::string& name : installed) {
            Put(In(kInstall, name), "installed");
        }
        state.NoInstallIM = c.im;
        state.NoInstallCalendar = c.calendar;
        state.NoInstallAV = c.av;
        state.NoInstallIAS = c.antiSpam;
        MakeDeployment().RemoveExcludedComponents();
        for (const std::string& name : installed) {
            const bool removed =
                std::find(c.removed.begin(), c.removed.end(), name) != c.removed.end();
            EXPECT_EQ(Has(In(kInstall, name)), !removed)
                << name << " with " << c.im << c.calendar << c.av << c.antiSpam;
        }
        EXPECT_EQ(files.FolderExists(In(kInstall, "spam\\")), !c.antiSpam);
    }
}

}  // namespace
}  // namespace tolva::setup

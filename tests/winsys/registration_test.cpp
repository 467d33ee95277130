#include "winsys/registration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_window.h"
#include "setup_registries.h"

namespace tolva::winsys {
namespace {

using platform::RegistryRoot;
using platform::ShellLink;

constexpr char kFolder[] = "C:\\Program Files\\Tolva\\";
constexpr char kGroup[] = "C:\\ProgramData\\Start Menu\\Programs\\Corvane Tolva Mail Server\\";
constexpr char kDesktop[] = "C:\\Users\\Tester\\Desktop\\";

Registration Install(upgrade::RunMode mode, bool webmail, bool desktop, bool quickLaunch) {
    Registration input;
    input.installFolder = kFolder;
    input.setupFolder = "D:\\";
    input.setupProgramName = "setup.exe";
    input.mode = mode;
    input.webmail = webmail;
    input.desktopIcon = desktop;
    input.quickLaunchIcon = quickLaunch;
    input.userName = u"J\u00FCrgen M\u00FCller";
    input.email = u"jm@example.com";
    input.company = u"B\u00E4ckerei";
    input.country = u"Deutschland";
    return input;
}

class RegistrationTest : public ::testing::Test {
protected:
    bool Register(const Registration& input) {
        return RegisterShortcutsAndEntries(machine.platform, window, registries.Components(),
                                           input);
    }
    ShellLink Link(const std::string& file) const {
        ShellLink link;
        EXPECT_TRUE(machine.platform.shell->ReadLink(file, link).ok()) << file;
        return link;
    }
    void RemoveShellFolder(RegistryRoot root, const char* name) {
        ASSERT_TRUE(machine.registry
                        .RemoveValue(root,
                                     std::string(kShellFoldersArea) + "\\" + kShellFoldersSection,
                                     name)
                        .ok());
    }
    std::string Value(const std::string& key, const std::string& name) const {
        std::string value;
        EXPECT_TRUE(machine.registry.ReadString(RegistryRoot::kLocalMachine, key, name, value).ok())
            << name;
        return value;
    }

    testing::SuiteMachine machine;
    MachineRegistries registries{machine};
    RecordingWindow window;
};

TEST_F(RegistrationTest, ShortcutsFollowTheModeAndTheChosenComponents) {
    const std::vector<std::string> documents = {
        "Administration",     "Readme",   "Help", "DNS Query Tool", "Quick Start",
        "WebMail Velo Guide", "Uninstall"};
    struct Case {
        upgrade::RunMode mode;
        bool webmail, desktop, quickLaunch;
        std::vector<std::string> then;  // after the documents and Uninstall
    } cases[] = {
        {upgrade::RunMode::kService,
         true,
         true,
         true,
         {std::string(kGroup) + "WebMail Lune.lnk", std::string(kGroup) + "WebMail Velo.lnk",
          std::string(kGroup) + "WebAdmin.lnk",
          std::string(kDesktop) + "Corvane Server Administration.lnk",
          std::string(kQuickLaunch) + "Corvane Server Administration.lnk"}},
        {upgrade::RunMode::kApplication,
         false,
         false,
         false,
         {std::string(kGroup) + "Start SMTP Service.lnk",
          // A "/" cannot be part of a file name.
          std::string(kGroup) + "Start POP3 - IMAP Service.lnk",
          std::string(kGroup) + "Start Control - HTTP Service.lnk",
          std::string(kGroup) + "Start IM - VoIP Service.lnk",
          std::string(kGroup) + "Start GroupWare Service.lnk",
          std::string(kGroup) + "WebAdmin.lnk"}},
    };
    for (const Case& c : cases) {
        testing::SuiteMachine local;
        MachineRegistries components(local);
        RecordingWindow progress;
        ASSERT_TRUE(
            RegisterShortcutsAndEntries(local.platform, progress, components.Components(),
                                        Install(c.mode, c.webmail, c.desktop, c.quickLaunch)));

        std::vector<std::string> expected;
        for (const std::string& name : documents) {
            expected.push_back(kGroup + name + ".lnk");
        }
        expected.insert(expected.end(), c.then.begin(), c.then.end());
        EXPECT_EQ(local.fake.Shell().Log().SubjectsOf("CreateLink"), expected);
        for (const std::string& link : expected) {
            EXPECT_TRUE(local.files.FileExists(link)) << link;
        }
        EXPECT_EQ(progress.progress, std::vector<std::u16string>{u"Creating Icons..."});
    }
}

TEST_F(RegistrationTest, LinksCarryTheirTargetArgumentsAndIcons) {
    ASSERT_TRUE(Register(Install(upgrade::RunMode::kApplication, true, true, false)));
    const std::string setup = std::string(kFolder) + "setup.exe";
    struct Case {
        std::string link, target, arguments;
        int icon;
    } cases[] = {
        {std::string(kGroup) + "Administration.lnk", std::string(kFolder) + "config.exe", "", 0},
        {std::string(kGroup) + "WebMail Velo Guide.lnk",
         std::string(kFolder) + "doc\\webmailguide.pdf", "", 0},
        {std::string(kGroup) + "Uninstall.lnk", setup, "/UNINSTALL", 1},
        {std::string(kGroup) + "Start GroupWare Service.lnk", std::string(kFolder) + "cal.exe", "",
         0},
        {std::string(kGroup) + "WebMail Lune.lnk", setup, "/WEBMAILLOGON", 2},
        {std::string(kGroup) + "WebMail Velo.lnk", setup, "/WEBMAIL2LOGON", 2},
        {std::string(kGroup) + "WebAdmin.lnk", setup, "/WEBADMINLOGON", 2},
        {std::string(kDesktop) + "Corvane Server Administration.lnk",
         std::string(kFolder) + "config.exe", "", 0},
    };
    for (const Case& c : cases) {
        ShellLink expected;
        expected.linkFile = c.link;
        expected.target = c.target;
        expected.arguments = c.arguments;
        expected.iconFile = c.icon == 0 ? "" : c.target;
        expected.iconIndex = c.icon;
        EXPECT_EQ(Link(c.link), expected) << c.link;
    }
}

TEST_F(RegistrationTest, OlderGroupsMakeWayForTheAllUsersGroup) {
    const std::string userGroup = std::string(kUserPrograms) + "Corvane Tolva Mail Server\\";
    const std::string oldGroup = std::string(kCommonPrograms) + "Tolva Mail Server\\";
    for (const std::string& stale : {userGroup + "Readme.lnk", userGroup + "old\\Help.lnk",
                                     oldGroup + "Readme.lnk", std::string(kGroup) + "Stale.lnk"}) {
        ASSERT_TRUE(machine.files.CreateFolders(stale.substr(0, stale.rfind('\\'))).ok());
        ASSERT_TRUE(machine.files.WriteWholeFile(stale, "link").ok());
    }
    const std::string unrelated = std::string(kUserPrograms) + "Tolva Mail Server\\Readme.lnk";
    ASSERT_TRUE(machine.files.CreateFolders(std::string(kUserPrograms) + "Tolva Mail Server").ok());
    ASSERT_TRUE(machine.files.WriteWholeFile(unrelated, "link").ok());

    ASSERT_TRUE(Register(Install(upgrade::RunMode::kService, false, false, false)));
    EXPECT_FALSE(machine.files.FolderExists(userGroup));
    EXPECT_FALSE(machine.files.FolderExists(oldGroup));
    EXPECT_FALSE(machine.files.FileExists(std::string(kGroup) + "Stale.lnk"));
    EXPECT_TRUE(machine.files.FileExists(std::string(kGroup) + "Readme.lnk"));
    EXPECT_TRUE(machine.files.FileExists(unrelated)) << "the older name in the user's folder stays";
}

TEST_F(RegistrationTest, GroupNamesFromTheLanguageStayInsideTheProgramsFolder) {
    i18n::TUIStrings strings;
    strings[i18n::cName] = u"..";
    strings[i18n::cOldName] = u"..\\..";
    strings[i18n::UninstallDesc] = u"Remove\\..\\..\\Uninstall";
    const std::string sibling = "C:\\ProgramData\\Start Menu\\Keep.lnk";
    ASSERT_TRUE(machine.files.WriteWholeFile(sibling, "link").ok());

    ASSERT_TRUE(RegisterShortcutsAndEntries(
        machine.platform, window, registries.Components(),
        Install(upgrade::RunMode::kService, false, false, false), strings));
    EXPECT_TRUE(machine.files.FileExists(sibling));
    EXPECT_TRUE(machine.files.FolderExists(kCommonPrograms));
    EXPECT_TRUE(
        machine.files.FileExists(std::string(kCommonPrograms) + "-\\Remove-..-..-Uninstall.lnk"));
}

TEST_F(RegistrationTest, WithoutTheAllUsersValueTheShellNamesTheGroupsParent) {
    RemoveShellFolder(RegistryRoot::kLocalMachine, "Common Programs");
    ASSERT_TRUE(Register(Install(upgrade::RunMode::kService, false, false, false)));
    const std::string group =
        machine.platform.shell->FolderPath(platform::SpecialFolder::kCommonPrograms) +
        "Corvane Tolva Mail Server\\";
    EXPECT_TRUE(machine.files.FileExists(group + "WebAdmin.lnk"));
}

TEST_F(RegistrationTest, QuickLaunchGoesBelowTheTemporaryFolderWithoutAppData) {
    RemoveShellFolder(RegistryRoot::kCurrentUser, "AppData");
    const std::string quickLaunch =
        machine.system.TempFolder() + "Microsoft\\Internet Explorer\\Quick Launch\\";
    EXPECT_EQ(GetQuickLaunchFolder(machine.platform, "D:\\"), quickLaunch);
    machine.system.SetTempFolder("");
    EXPECT_EQ(GetQuickLaunchFolder(machine.platform, "D:\\"),
              "D:\\Microsoft\\Internet Explorer\\Quick Launch\\");
}

TEST_F(RegistrationTest, UninstallEntryAndProductValuesAreStringsInOrder) {
    ASSERT_TRUE(Register(Install(upgrade::RunMode::kService, false, false, false)));
    std::vector<std::string> names;
    ASSERT_TRUE(
        machine.registry.ListValueNames(RegistryRoot::kLocalMachine, kUninstallKey, names).ok());
    EXPECT_EQ(names, (std::vector<std::string>{"DisplayName", "UninstallString", "DisplayIcon",
                                               "DisplayVersion", "InstallLocation", "NoModify",
                                               "NoRepair", "Publisher", "URLInfoAbout"}));
    for (const std::string& name : names) {
        platform::RegistryValueType type = platform::RegistryValueType::kNone;
        ASSERT_TRUE(
            machine.registry.GetValueType(RegistryRoot::kLocalMachine, kUninstallKey, name, type)
                .ok());
        EXPECT_EQ(type, platform::RegistryValueType::kString) << name;
    }
    EXPECT_EQ(Value(kUninstallKey, "DisplayName"), "Corvane Tolva Mail Server 9.1.0");
    // Quoted because the path holds a blank.
    EXPECT_EQ(Value(kUninstallKey, "UninstallString"),
              "\"C:\\Program Files\\Tolva\\setup.exe\" /UNINSTALL");
    EXPECT_EQ(Value(kUninstallKey, "DisplayIcon"), "C:\\Program Files\\Tolva\\config.exe");
    EXPECT_EQ(Value(kUninstallKey, "InstallLocation"), kFolder);
    EXPECT_EQ(Value(kUninstallKey, "NoModify"), "1");
    EXPECT_EQ(Value(kUninstallKey, "NoRepair"), "1");
    EXPECT_EQ(Value(kUninstallKey, "Publisher"), "Corvane");

    names.clear();
    ASSERT_TRUE(
        machine.registry.ListValueNames(RegistryRoot::kLocalMachine, kProductKey, names).ok());
    EXPECT_EQ(names, (std::vector<std::string>{"InstallDir", "Name", "Email", "Company", "Country",
                                               "Version"}));
    EXPECT_EQ(Value(kProductKey, "InstallDir"), kFolder);
    EXPECT_EQ(Value(kProductKey, "Name"), "J\xFCrgen M\xFCller") << "the system's code page";
    EXPECT_EQ(Value(kProductKey, "Company"),
              "B\xE4"
              "ckerei");
    EXPECT_EQ(Value(kProductKey, "Version"), "9.1.0");

    EXPECT_EQ(UninstallCommand("C:\\Tolva\\setup.exe"), "C:\\Tolva\\setup.exe /UNINSTALL");
}

TEST_F(RegistrationTest, AFailedValueWriteShowsTheRegistryErrorAndStops) {
    machine.registry.FailNext("WriteString", platform::error::kAccessDenied);
    EXPECT_FALSE(Register(Install(upgrade::RunMode::kService, false, false, false)));
    ASSERT_EQ(window.boxes.size(), 1u);
    const platform::MessageBoxRequest& box = window.boxes[0];
    EXPECT_EQ(box.caption, u"Error");
    EXPECT_TRUE(box.text.starts_with(u"Registry error: ")) << "box text";
    EXPECT_EQ(box.icon, platform::DialogIcon::kError);
    EXPECT_TRUE(box.taskModal);
    EXPECT_FALSE(machine.registry.KeyExists(RegistryRoot::kLocalMachine, kProductKey))
        << "nothing written after the failure";
}

}  // namespace
}  // namespace tolva::winsys

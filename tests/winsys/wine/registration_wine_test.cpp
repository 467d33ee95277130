// The registration step through the real shell and registry of a Wine prefix: link files that read
// back through the shell link object, and the uninstall entry where the program list reads it.

#include <gtest/gtest.h>

#include <string>

#include "archive/delete_folder_tree.h"
#include "platform/win32/win32_platform.h"
#include "recording_window.h"
#include "util/text.h"
#include "winsys/registration.h"

namespace tolva::winsys {
namespace {

using platform::RegistryRoot;
using platform::RegistryView;

constexpr char kFolder[] = "C:\\Program Files\\Tolva Registration\\";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolva";
constexpr char kProductKey[] = "Software\\Corvane\\Tolva Mail Server";

class RegistrationWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform.files->CreateFolders(kFolder).ok());
        for (const char* file : {"setup.exe", "config.exe"}) {
            ASSERT_TRUE(platform.files->WriteWholeFile(std::string(kFolder) + file, "MZ").ok());
        }
    }
    void TearDown() override {
        (void)platform.registry->RemoveKeyTree(RegistryRoot::kLocalMachine, kUninstallKey);
        (void)platform.registry->RemoveKeyTree(RegistryRoot::kLocalMachine, kProductKey);
        archive::DeleteFolderTree(*platform.files, GroupFolder());
        archive::DeleteFolderTree(*platform.files, kFolder);
        (void)platform.files->RemoveFile(GetDesktopFolder(*platform.shell) +
                                         "Corvane Server Administration.lnk");
    }

    std::string GroupFolder() {
        return platform.shell->FolderPath(platform::SpecialFolder::kCommonPrograms) +
               "Corvane Tolva Mail Server\\";
    }
    platform::ShellLink Link(const std::string& file) {
        platform::ShellLink link;
        EXPECT_TRUE(platform.shell->ReadLink(file, link).ok()) << file;
        return link;
    }

    platform::Win32Platform win32;
    platform::Platform& platform = win32.Services();
    TAdvancedRegistry shellFolders{*platform.registry, RegistryRoot::kCurrentUser,
                                   kShellFoldersArea, kShellFoldersSection};
    TAdvancedRegistry uninstallEntry{*platform.registry, RegistryRoot::kLocalMachine,
                                     kUninstallArea, kUninstallSection};
    TAdvancedRegistry productKey{*platform.registry, RegistryRoot::kLocalMachine,
                                 "\\Software\\Corvane", "Tolva Mail Server"};
    RecordingWindow window;
};

TEST_F(RegistrationWineTest, LinksAndTheUninstallEntryAreWhereWindowsReadsThem) {
    Registration input;
    input.installFolder = kFolder;
    input.setupFolder = kFolder;
    input.setupProgramName = "setup.exe";
    input.mode = upgrade::RunMode::kApplication;
    input.webmail = true;
    input.desktopIcon = true;
    input.userName = u"J\u00FCrgen";
    ASSERT_TRUE(RegisterShortcutsAndEntries(platform, window,
                                            {shellFolders, uninstallEntry, productKey}, input));
    EXPECT_TRUE(window.boxes.empty());

    const std::string group = GroupFolder();
    const std::string setup = std::string(kFolder) + "setup.exe";
    struct Case {
        std::string link, target, arguments;
        int icon;
    } cases[] = {
        {group + "Administration.lnk", std::string(kFolder) + "config.exe", "", 0},
        {group + "Uninstall.lnk", setup, "/UNINSTALL", 1},
        {group + "Start POP3 - IMAP Service.lnk", std::string(kFolder) + "pop3.exe", "", 0},
        {group + "WebMail Velo.lnk", setup, "/WEBMAIL2LOGON", 2},
        {GetDesktopFolder(*platform.shell) + "Corvane Server Administration.lnk",
         std::string(kFolder) + "config.exe", "", 0},
    };
    for (const Case& c : cases) {
        const platform::ShellLink link = Link(c.link);
        EXPECT_TRUE(util::SameText(link.target, c.target)) << link.target;
        EXPECT_EQ(link.arguments, c.arguments) << c.link;
        EXPECT_EQ(link.iconIndex, c.icon) << c.link;
    }

    std::string value;
    ASSERT_TRUE(platform.registry
                    ->ReadString({RegistryRoot::kLocalMachine, RegistryView::k32Bit}, kUninstallKey,
                                 "UninstallString", value)
                    .ok());
    EXPECT_EQ(value, "\"" + setup + "\" /UNINSTALL");
    platform::RegistryValueType type = platform::RegistryValueType::kNone;
    ASSERT_TRUE(platform.registry
                    ->GetValueType(RegistryRoot::kLocalMachine, kUninstallKey, "NoModify", type)
                    .ok());
    EXPECT_EQ(type, platform::RegistryValueType::kString);
    ASSERT_TRUE(
        platform.registry->ReadString(RegistryRoot::kLocalMachine, kProductKey, "Name", value)
            .ok());
    EXPECT_EQ(value, platform.system->WideToAnsi(u"J\u00FCrgen"));
}

}  // namespace
}  // namespace tolva::winsys

#include "platform/shell.h"

#include <gtest/gtest.h>

#include <string>

#include "test_platform.h"

namespace tolva::platform {
namespace {

TEST(ShellTest, LinksReadBackWithTheItemsSet) {
    testing::TestPlatform test;
    Shell& shell = *test.Services().shell;
    const std::string program = test.Scratch() + "config.exe";
    ASSERT_TRUE(test.Services().files->WriteWholeFile(program, "MZ").ok());

    ShellLink withEverything;
    withEverything.linkFile = test.Scratch() + "Uninstall.lnk";
    withEverything.target = program;
    withEverything.arguments = "/UNINSTALL";
    withEverything.iconFile = program;
    withEverything.iconIndex = 1;
    withEverything.workingFolder = test.Scratch();
    withEverything.description = "Removes the server";
    ShellLink bare;
    bare.linkFile = test.Scratch() + "Administration.lnk";
    bare.target = program;
    // Links to files that are not there yet are made all the same.
    ShellLink missingTarget;
    missingTarget.linkFile = test.Scratch() + "Readme.lnk";
    missingTarget.target = test.Scratch() + "doc\\readme.txt";

    for (const ShellLink& link : {withEverything, bare, missingTarget}) {
        ASSERT_TRUE(shell.CreateLink(link).ok()) << link.linkFile;
        ShellLink read;
        ASSERT_TRUE(shell.ReadLink(link.linkFile, read).ok()) << link.linkFile;
        EXPECT_EQ(read, link);
        EXPECT_TRUE(test.Services().files->FileExists(link.linkFile));
    }
}

TEST(ShellTest, ALinkReplacesTheFileOfItsName) {
    testing::TestPlatform test;
    Shell& shell = *test.Services().shell;
    ShellLink link;
    link.linkFile = test.Scratch() + "WebAdmin.lnk";
    link.target = test.Scratch() + "setup.exe";
    link.arguments = "/WEBADMINLOGON";
    link.iconFile = link.target;
    link.iconIndex = 2;
    ASSERT_TRUE(shell.CreateLink(link).ok());
    link.arguments.clear();
    link.iconFile.clear();
    link.iconIndex = 0;
    ASSERT_TRUE(shell.CreateLink(link).ok());

    ShellLink read;
    ASSERT_TRUE(shell.ReadLink(link.linkFile, read).ok());
    EXPECT_EQ(read, link);
}

TEST(ShellTest, FailuresAreReported) {
    testing::TestPlatform test;
    Shell& shell = *test.Services().shell;
    ShellLink link;
    link.linkFile = test.Scratch() + "missing\\Help.lnk";
    link.target = test.Scratch() + "doc\\manual.chm";
    EXPECT_FALSE(shell.CreateLink(link).ok()) << "the link's folder does not exist";
    EXPECT_FALSE(test.Services().files->FileExists(link.linkFile));

    ShellLink read;
    EXPECT_FALSE(shell.ReadLink(test.Scratch() + "none.lnk", read).ok());
    const std::string notALink = test.Scratch() + "text.lnk";
    ASSERT_TRUE(test.Services().files->WriteWholeFile(notALink, "not a link").ok());
    EXPECT_FALSE(shell.ReadLink(notALink, read).ok());

    EXPECT_FALSE(shell.Open(test.Scratch() + "missing.txt", "", ShowCommand::kNormal).ok());
}

TEST(ShellTest, SpecialFoldersEndInABackslashAndExist) {
    testing::TestPlatform test;
    Shell& shell = *test.Services().shell;
    for (SpecialFolder folder :
         {SpecialFolder::kDesktop, SpecialFolder::kAppData, SpecialFolder::kProgramFiles}) {
        const std::string path = shell.FolderPath(folder);
        ASSERT_FALSE(path.empty()) << static_cast<int>(folder);
        EXPECT_EQ(path.back(), '\\') << path;
        EXPECT_TRUE(test.Services().files->FolderExists(path)) << path;
    }
    EXPECT_EQ(
        shell.FolderPath(SpecialFolder::kQuickLaunch),
        shell.FolderPath(SpecialFolder::kAppData) + "Microsoft\\Internet Explorer\\Quick Launch\\");
}

}  // namespace
}  // namespace tolva::platform

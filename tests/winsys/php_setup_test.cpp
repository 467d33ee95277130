#include "winsys/php_setup.h"

#include <gtest/gtest.h>

#include <string>

#include "archive/archive_writer.h"
#include "platform/fake/fake_platform.h"

namespace tolva::winsys {
namespace {

using platform::RegistryRoot;

constexpr char kSetup[] = "D:\\Download\\";
constexpr char kInstall[] = "C:\\Tolva\\";
constexpr char kPhpIni[] = "C:\\Tolva\\php\\php.ini";
constexpr char kASpellKey[] = "Software\\ASpell";

class PhpSetupTest : public ::testing::Test {
protected:
    PhpSetup Php() {
        return PhpSetup(platform_.Services(), kSetup, kInstall,
                        MakeTemplateValues(system_, kInstall, "C:\\Tolva\\logs\\"));
    }

    void PutPhpArchive(const std::string& phpIni) {
        ASSERT_TRUE(files_.CreateFolders(kSetup));
        archive::ArchiveWriter writer;
        ASSERT_TRUE(writer.Create(files_, std::string(kSetup) + "setupphp.dat", ""));
        ASSERT_TRUE(writer.AddContent("php.ini", phpIni));
        ASSERT_TRUE(writer.AddContent("php.dll", "engine"));
        ASSERT_TRUE(writer.Finish());
    }

    platform::FakePlatform platform_;
    platform::MemoryFileSystem& files_ = platform_.Files();
    platform::FakeRegistry& registry_ = platform_.Registry();
    platform::FakeSystem& system_ = platform_.System();
};

TEST_F(PhpSetupTest, DeploymentKeepsTheFirstBackupOfPhpIni) {
    PutPhpArchive(
        "[PHP]\r\n  extension_dir = \"%%installpath%%php\\ext\"  \r\n\r\n"
        "error_log=\"%%logpath%%php.log\" ; not %%logpath%%\n"
        "upload_tmp_dir=\"%%temppath%%\"\r\n");
    files_.files[kPhpIni] = "; the administrator's\r\n";
    files_.files["C:\\Windows\\wmi.ini"] = "left over";

    Php().DeployPhp();
    const std::string filled =
        "[PHP]\r\nextension_dir = \"C:\\Tolva\\php\\ext\"\r\n"
        "error_log=\"C:\\Tolva\\logs\\php.log\" ; not %%logpath%%\r\n"
        "upload_tmp_dir=\"C:\\Windows\\temp\\\"\r\n";
    EXPECT_EQ(files_.files[kPhpIni], filled);
    EXPECT_EQ(files_.files[std::string(kPhpIni) + ".old"], "; the administrator's\r\n");
    EXPECT_EQ(files_.files["C:\\Tolva\\php\\php.dll"], "engine");
    EXPECT_EQ(files_.files.count("C:\\Windows\\wmi.ini"), 0u);

    // A second deployment finds the backup in place: it stays, php.ini is replaced.
    files_.files[kPhpIni] = "; changed since\r\n";
    Php().DeployPhp();
    EXPECT_EQ(files_.files[kPhpIni], filled);
    EXPECT_EQ(files_.files[std::string(kPhpIni) + ".old"], "; the administrator's\r\n");
}

TEST_F(PhpSetupTest, NoPhpArchiveNoChange) {
    files_.files[kPhpIni] = "engine=On\r\n";
    files_.files["C:\\Windows\\wmi.ini"] = "left over";
    Php().DeployPhp();
    EXPECT_EQ(files_.files[kPhpIni], "engine=On\r\n");
    EXPECT_EQ(files_.files.count(std::string(kPhpIni) + ".old"), 0u);
    EXPECT_EQ(files_.files.count("C:\\Windows\\wmi.ini"), 1u);
}

TEST_F(PhpSetupTest, WithoutSpellCheckerOnlyTheExtensionLinesChange) {
    const std::string before =
        "[PHP]\r\n  engine = On\n\n\t; comment \r\nextension=php_pspell.dll\r\n"
        ";extension=php_pspell.dll\r\nextension=php_gd2.dll\r\nEXTENSION=php_pspell.dll\r\n"
        "extension=php_pspell.dll";
    const std::string after =
        "[PHP]\r\n  engine = On\n\n\t; comment \r\n;extension=php_pspell.dll\r\n"
        ";;extension=php_pspell.dll\r\nextension=php_gd2.dll\r\nEXTENSION=php_pspell.dll\r\n"
        ";extension=php_pspell.dll";
    files_.files[kPhpIni] = before;
    Php().SetSpellChecking(false);
    EXPECT_EQ(files_.files[kPhpIni], after);
    EXPECT_FALSE(registry_.KeyExists(RegistryRoot::kLocalMachine, kASpellKey));

    files_.files[kPhpIni] = "";
    Php().SetSpellChecking(false);
    EXPECT_EQ(files_.files[kPhpIni], "");
    files_.files.erase(kPhpIni);
    Php().SetSpellChecking(false);
    EXPECT_EQ(files_.files.count(kPhpIni), 0u);
}

TEST_F(PhpSetupTest, SpellCheckerIsRegisteredOnceAndItsLibraryCopiedEachTime) {
    files_.files["C:\\Tolva\\aspell\\bin\\aspell-15.dll"] = "new";
    files_.files["C:\\Tolva\\php\\aspell-15.dll"] = "old";
    Php().SetSpellChecking(true);
    std::string folder;
    ASSERT_TRUE(registry_.ReadString(RegistryRoot::kLocalMachine, kASpellKey, "", folder));
    EXPECT_EQ(folder, "C:\\Tolva\\aspell");
    EXPECT_EQ(files_.files["C:\\Tolva\\php\\aspell-15.dll"], "new");

    ASSERT_TRUE(registry_.WriteString(RegistryRoot::kLocalMachine, kASpellKey, "", "D:\\ASpell"));
    files_.files["C:\\Tolva\\aspell\\bin\\aspell-15.dll"] = "newer";
    EXPECT_FALSE(RegisterASpell(files_, registry_, "C:\\Tolva\\aspell\\", "C:\\Tolva\\php\\"));
    ASSERT_TRUE(registry_.ReadString(RegistryRoot::kLocalMachine, kASpellKey, "", folder));
    EXPECT_EQ(folder, "D:\\ASpell");
    EXPECT_EQ(files_.files["C:\\Tolva\\php\\aspell-15.dll"], "newer");
}

TEST_F(PhpSetupTest, RegistryFailureEndsTheRegistration) {
    files_.files["C:\\Tolva\\aspell\\bin\\aspell-15.dll"] = "new";
    registry_.FailNext("CreateKey", platform::error::kAccessDenied);
    EXPECT_FALSE(RegisterASpell(files_, registry_, "C:\\Tolva\\aspell\\", "C:\\Tolva\\php\\"));
    EXPECT_EQ(files_.files.count("C:\\Tolva\\php\\aspell-15.dll"), 0u);
}

TEST(FillTemplate, LinesTrimmedAndFirstPlaceholdersFilled) {
    platform::MemoryFileSystem files;
    const TemplateValues values{"C:\\Tolva\\", "C:\\Tolva\\logs\\", "C:\\Windows\\temp\\"};
    files.files["C:\\Temp\\tolvainstall\\webserver.dat"] =
        "\r\n  <WEB>\r\n\r\n\t<LOG>%%logpath%%web-%%logpath%%</LOG>  \n"
        "<ROOT>%%installpath%%html</ROOT><TEMP>%%temppath%%</TEMP>\r\n</WEB>\r\n\r\n";
    ASSERT_TRUE(FillTemplate(files, "webserver.dat", "C:\\Temp\\tolvainstall\\",
                             "C:\\Tolva\\config\\", values));
    EXPECT_EQ(files.files["C:\\Tolva\\config\\webserver.dat"],
              "<WEB>\r\n<LOG>C:\\Tolva\\logs\\web-%%logpath%%</LOG>\r\n"
              "<ROOT>C:\\Tolva\\html</ROOT><TEMP>C:\\Windows\\temp\\</TEMP>\r\n</WEB>\r\n");

    // A template without lines writes nothing, and an existing target stays.
    files.files["C:\\Temp\\blank.ini"] = " \r\n\t\r\n";
    files.files["C:\\Tolva\\blank.ini"] = "kept";
    EXPECT_FALSE(FillTemplate(files, "C:\\Temp\\blank.ini", "", "C:\\Tolva\\", values));
    EXPECT_EQ(files.files["C:\\Tolva\\blank.ini"], "kept");
    EXPECT_FALSE(FillTemplate(files, "C:\\Temp\\missing.ini", "", "C:\\Tolva\\", values));
    EXPECT_EQ(files.files.count("C:\\Tolva\\missing.ini"), 0u);
}

}  // namespace
}  // namespace tolva::winsys

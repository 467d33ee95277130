#include "setup/run_switches.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/answer_file.h"
#include "setup/package_table.h"

namespace tolva::setup {
namespace {

namespace key = component_key;
using Arguments = std::vector<std::string>;

TEST(RunSwitchesTest, OnlyANewSwitchFirstMakesTheLineBeReadWhole) {
    const struct {
        Arguments arguments;
        bool whole;
    } cases[] = {
        {{}, false},
        {{"/SILENT", "/QUIET"}, false},
        {{"/uninstall", "/QUIET"}, false},
        {{"/WEBADMINLOGON"}, false},
        {{"C:\\Tolva", "/QUIET"}, false},
        {{"/quiet"}, true},
        {{"/Passive", "/UNINSTALL"}, true},
        {{"/CHECK"}, true},
        {{"/LOG=C:\\x.log"}, true},
        {{"/dir=D:\\Mail"}, true},
        {{"/QUIETER"}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartsWithRunSwitch(c.arguments), c.whole)
            << ::testing::PrintToString(c.arguments);
    }
}

TEST(RunSwitchesTest, ReadsModesFilesAndChoices) {
    RunSwitches s;
    std::string error;
    ASSERT_TRUE(ParseRunSwitches(
        {"/QUIET", "/silent", "/LOG=C:\\logs\\run.log", "/RESULT=C:\\r.json", "/SAVEINF=C:\\a.ini",
         "/LOADINF=C:\\b.ini", "/DIR=D:\\Mail Server\\", "/TYPE=Advanced",
         "/COMPONENTS=Modules, !Anti-Virus ,ldap", "/NAME=Jane Tester", "/EMAIL=jane@example.com",
         "/COMPANY=", "/COUNTRY=germany", "/DATABASE=mail;sa;pw;db1;2;1", "/LANG=Deutsch",
         "/FINISH=!wizard,console", "-exportlanguage"},
        s, error))
        << error;
    EXPECT_EQ(s.mode, RunMode::kQuiet);
    EXPECT_TRUE(s.silent);
    EXPECT_FALSE(s.uninstall);
    EXPECT_EQ(s.logFile, "C:\\logs\\run.log");
    EXPECT_EQ(s.resultFile, "C:\\r.json");
    EXPECT_EQ(s.saveFile, "C:\\a.ini");
    EXPECT_EQ(s.loadFile, "C:\\b.ini");
    const SetupChoices& c = s.choices;
    EXPECT_EQ(c.installDir, "D:\\Mail Server\\");
    EXPECT_EQ(c.type, SetupType::kAdvanced);
    EXPECT_EQ(c.components,
              (std::vector<ComponentChoice>{
                  {key::kModulesGroup, true}, {key::kAntiVirus, false}, {key::kLdap, true}}));
    EXPECT_EQ(c.name, "Jane Tester");
    EXPECT_EQ(c.company, "");
    EXPECT_EQ(c.country, "Germany");
    EXPECT_EQ(c.database, "mail;sa;pw;db1;2;1");
    EXPECT_EQ(c.language, "Deutsch");
    EXPECT_EQ(c.runConfig, true);
    EXPECT_EQ(c.runTutorial, false);
    EXPECT_EQ(c.showTutorial, std::nullopt);
}

TEST(RunSwitchesTest, RefusesBadLinesWithAReason) {
    const struct {
        Arguments arguments;
        const char* reason;
    } cases[] = {
        {{"/QUIET", "/FOO"}, "unknown switch \"/FOO\""},
        {{"/QUIET", "C:\\Tolva"}, "unknown switch \"C:\\Tolva\""},
        {{"/QUIET", "/WEBMAILLOGON"}, "unknown switch"},
        {{"/QUIET", "/PASSIVE"}, "/PASSIVE cannot be combined with /QUIET"},
        {{"/CHECK", "/UNINSTALL"}, "/CHECK cannot be combined with /UNINSTALL"},
        {{"/CHECK", "/SAVEINF=a.ini"}, "/CHECK cannot be combined with /SAVEINF"},
        {{"/QUIET", "/UNINSTALL", "/DIR=C:\\x"}, "/UNINSTALL takes no installation choices"},
        {{"/QUIET", "/QUIET"}, "/QUIET is given twice"},
        {{"/DIR=C:\\a", "/dir=C:\\b"}, "/DIR is given twice"},
        {{"/QUIET=1"}, "/QUIET takes no value"},
        {{"/LOG"}, "/LOG needs a value"},
        {{"/LOG= "}, "/LOG needs a file name"},
        {{"/DIR="}, "/DIR: no installation folder"},
        {{"/TYPE=basic"}, "/TYPE: unknown setup type \"basic\""},
        {{"/COMPONENTS=Webmail,Antivirus"}, "/COMPONENTS: unknown component \"Antivirus\""},
        {{"/FINISH=readme"}, "/FINISH: unknown Finished page action \"readme\""},
        {{"/EMAIL=@example.com"}, "/EMAIL: \"@example.com\" is not an e-mail address"},
        {{"/EMAIL=jane@example."}, "is not an e-mail address"},
        {{"/NAME=   "}, "/NAME: the name is empty"},
        {{"/COUNTRY=Atlantis"}, "/COUNTRY: unknown country \"Atlantis\""},
        {{"/LANG="}, "/LANG: no language"},
    };
    for (const auto& c : cases) {
        RunSwitches s;
        std::string error;
        EXPECT_FALSE(ParseRunSwitches(c.arguments, s, error))
            << ::testing::PrintToString(c.arguments);
        EXPECT_NE(error.find(c.reason), std::string::npos)
            << ::testing::PrintToString(c.arguments) << " gave: " << error;
    }
}

TEST(RunSwitchesTest, ABadSwitchLeavesTheOthersRead) {
    RunSwitches s;
    std::string error;
    EXPECT_FALSE(
        ParseRunSwitches({"/QUIET", "/EMAIL=jane", "/FOO", "/RESULT=C:\\r.json"}, s, error));
    EXPECT_EQ(error, "/EMAIL: \"jane\" is not an e-mail address");
    EXPECT_EQ(s.mode, RunMode::kQuiet);
    EXPECT_EQ(s.resultFile, "C:\\r.json");
}

TEST(AnswerFileTest, ReadsQuotingCommentsBomAndAnyLetterCase) {
    const std::string text =
        "\xEF\xBB\xBF; answers\r\n"
        "# another comment\r\n"
        "\r\n"
        "[setup]\r\n"
        "  dir = C:\\Program Files\\Tolva\\  \r\n"
        "NAME=\"  Jane \"Quoted\" Tester \"\r\n"
        "Email=jane@example.com\n"
        "Company=\"\"\r\n"
        "Database=a;u;p;h;3;2|b|v|q|k|3|2 ; not a comment\r\n"
        "Components=!Services and core files\r\n"
        "Finish=console,!quickstart\r\n";
    SetupChoices c;
    std::string error;
    ASSERT_TRUE(ReadAnswerFile(text, c, error)) << error;
    EXPECT_EQ(c.installDir, "C:\\Program Files\\Tolva\\");
    EXPECT_EQ(c.name, "  Jane \"Quoted\" Tester ");
    EXPECT_EQ(c.email, "jane@example.com");
    EXPECT_EQ(c.company, "");
    EXPECT_EQ(c.database, "a;u;p;h;3;2|b|v|q|k|3|2 ; not a comment");
    EXPECT_EQ(c.components, (std::vector<ComponentChoice>{{key::kServicesAndCoreFiles, false}}));
    EXPECT_EQ(c.runConfig, true);
    EXPECT_EQ(c.showTutorial, false);
    EXPECT_EQ(c.type, std::nullopt);
}

TEST(AnswerFileTest, RefusesBadFilesNamingTheLine) {
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"[Setup]\nDir=C:\\x\nQuiet=1\n", "line 3: unknown key \"Quiet\""},
        {"[Setup]\nColour=blue\n", "line 2: unknown key \"Colour\""},
        {"Dir=C:\\x\n[Setup]\n", "line 1: \"Dir\" stands before the [Setup] section"},
        {"[Options]\nDir=C:\\x\n", "line 1: unknown section [Options]"},
        {"[Setup\n", "line 1: \"[Setup\" is not a section heading"},
        {"[Setup]\nDir C:\\x\n", "line 2: \"Dir C:\\x\" is not of the form key=value"},
        {"[Setup]\nType=standard\ntype=advanced\n", "line 3: \"type\" is given twice"},
        {"[Setup]\nType=express\n", "line 2: Type: unknown setup type \"express\""},
        {"[Setup]\nEmail=jane\n", "line 2: Email: \"jane\" is not an e-mail address"},
        {"[Setup]\nComponents=Webmail,Games\n", "line 2: Components: unknown component"},
    };
    for (const auto& c : cases) {
        SetupChoices choices;
        std::string error;
        EXPECT_FALSE(ReadAnswerFile(c.text, choices, error)) << c.text;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << " gave: " << error;
    }
}

TEST(AnswerFileTest, WrittenChoicesReadBackButPasswordsStayOut) {
    SetupChoices saved;
    saved.language = "Deutsch";
    saved.installDir = "D:\\Mail\\";
    saved.type = SetupType::kAdvanced;
    saved.components = {{key::kServicesAndCoreFiles, true}, {key::kAntiVirus, false}};
    saved.name = " Jane Tester";
    saved.email = "jane@example.com";
    saved.company = "";
    saved.country = "Cote d'Ivoire";
    saved.database = "mail;sa;secret;db1;2;1|back;bu;other;db2;2;1";
    saved.runConfig = false;
    saved.runTutorial = true;
    saved.showTutorial = false;
    saved.openWebmailGuide = true;

    const std::string text = WriteAnswerFile(saved);
    EXPECT_EQ(text.find("secret"), std::string::npos) << text;
    EXPECT_EQ(text.find("other"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n; The database passwords are left out"), std::string::npos) << text;

    SetupChoices read;
    std::string error;
    ASSERT_TRUE(ReadAnswerFile(text, read, error)) << error << "\n" << text;
    SetupChoices expected = saved;
    expected.database = "mail;sa;;db1;2;1|back;bu;;db2;2;1";
    EXPECT_EQ(read, expected) << text;
}

TEST(AnswerFileTest, TheCommandLineBeatsTheFile) {
    RunSwitches s;
    std::string error;
    ASSERT_TRUE(ParseRunSwitches({"/QUIET", "/DIR=E:\\Here\\", "/FINISH=!console"}, s, error));
    SetupChoices file;
    ASSERT_TRUE(ReadAnswerFile(
        "[Setup]\nDir=C:\\There\\\nName=Jane Tester\nFinish=console,wizard\n", file, error));
    SetupChoices choices = s.choices;
    choices.TakeUnsetFrom(file);
    EXPECT_EQ(choices.installDir, "E:\\Here\\");
    EXPECT_EQ(choices.name, "Jane Tester");
    // Tick by tick: the command line's beats the file's, the file fills in the rest.
    EXPECT_EQ(choices.runConfig, false);
    EXPECT_EQ(choices.runTutorial, true);
}

}  // namespace
}  // namespace tolva::setup

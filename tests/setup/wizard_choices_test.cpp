#include "setup/wizard_choices.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_platform.h"
#include "setup/answer_file.h"
#include "setup/component_tree.h"
#include "setup/package_table.h"
#include "setup/setup_log.h"
#include "ui/application.h"
#include "ui/headless_display.h"

namespace tolva::setup {
namespace {

namespace key = component_key;

class WizardChoicesTest : public ::testing::Test {
protected:
    WizardChoicesTest() {
        EXPECT_TRUE(fake.Files().CreateFolders("D:\\").ok());
        fake.Files().files["D:\\notes.txt"] = "a file";
        for (TMainForm* form : {&first, &second}) {
            form->State.InstallDir = "C:\\Program Files\\Tolva\\";
            form->SetupPage();
        }
    }

    platform::FakePlatform fake;
    ui::HeadlessDisplay display;
    ui::Application application{display, &fake.System()};
    TDebugStruct log{fake.Files(), fake.System()};
    class : public ProcessEnd {
        void EndProcess(int) override {}
    } processEnd;
    TMainForm first{application, fake.Services(), log, processEnd};
    TMainForm second{application, fake.Services(), log, processEnd};
};

TEST_F(WizardChoicesTest, FoldersThatCannotBeMade) {
    const struct {
        const char* folder;
        const char* reason;  // empty: it can be made
    } cases[] = {
        {"C:\\Program Files\\Tolva", ""},
        {"d:\\Mail\\Server\\", ""},
        {"Mail\\Server", "is not a full path with a drive letter"},
        {"\\\\server\\share\\Tolva", "is not a full path with a drive letter"},
        {"Q:\\Tolva", "drive Q: does not exist"},
        {"C:\\Tol|va", "holds a character Windows refuses in names"},
        {"C:\\Tolva\\\\Mail", "holds an empty folder name"},
        {"D:\\notes.txt\\Tolva", "\"D:\\notes.txt\" is a file, not a folder"},
    };
    for (const auto& c : cases) {
        std::string reason;
        EXPECT_EQ(FolderCanBeMade(fake.Files(), c.folder, reason), *c.reason == '\0') << c.folder;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.folder << ": " << reason;
    }
    std::string reason;
    EXPECT_FALSE(FolderCanBeMade(fake.Files(), "C:\\" + std::string(260, 'a'), reason));
}

TEST_F(WizardChoicesTest, ChoicesTakeTheirPlacesAndAnAnswerFileRepeatsThem) {
    SetupChoices choices;
    std::string error;
    ASSERT_TRUE(
        ReadAnswerFile("[Setup]\n"
                       "Dir=D:\\Mail\n"
                       "Components=!Modules,Webmail,!Desktop icon\n"
                       "Name=Jane Tester\n"
                       "Email=jane@example.com\n"
                       "Country=Germany\n"
                       "Database=mail;sa;secret;db1;2;1\n"
                       "Finish=console,!wizard\n",
                       choices, error))
        << error;
    ASSERT_TRUE(ApplyChoices(first, choices, fake.Files(), fake.System(), error)) << error;

    EXPECT_EQ(first.State.InstallDir, "D:\\Mail\\");
    EXPECT_EQ(first.PathEdit->Text(), u"D:\\Mail\\");
    EXPECT_EQ(first.CountryEdit->Text(), u"Germany");
    EXPECT_TRUE(first.SetupModeAdvanced->Checked()) << "a database alone chooses the advanced type";
    EXPECT_FALSE(first.SetupModeBasic->Checked());
    EXPECT_EQ(first.State.DatabaseConnectionString, "mail;sa;secret;db1;2;1");
    EXPECT_TRUE(first.IsComponentSelected(key::kWebmail));
    EXPECT_FALSE(first.IsComponentSelected(key::kAntiSpam));
    EXPECT_FALSE(first.IsComponentSelected(key::kDesktopIcon));
    EXPECT_EQ(ComponentState(*first.ComponentsList, key::kModulesGroup), kPartlySelected);
    // As leaving the Components page stores them.
    EXPECT_TRUE(first.State.NoInstallIAS);
    EXPECT_TRUE(first.State.NoInstallIM);
    EXPECT_FALSE(first.State.NoInstallMail);
    EXPECT_TRUE(first.RunConfig->Checked());
    EXPECT_FALSE(first.RunTutorial->Checked());
    EXPECT_TRUE(first.ShowTutorial->Checked()) << "a tick left unset stays";
    EXPECT_TRUE(UnattendedChoicesComplete(first, error)) << error;

    // The answer file of this run, applied to a window fresh from its start-up, makes the same.
    const SetupChoices made = CurrentChoices(first, fake.System(), "English");
    SetupChoices read;
    ASSERT_TRUE(ReadAnswerFile(WriteAnswerFile(made), read, error)) << error;
    EXPECT_EQ(read.database, "mail;sa;;db1;2;1") << "the password stays out of the file";
    read.database = made.database;
    ASSERT_TRUE(ApplyChoices(second, read, fake.Files(), fake.System(), error)) << error;
    EXPECT_EQ(CurrentChoices(second, fake.System(), "English"), made);
}

TEST_F(WizardChoicesTest, AnUpgradeKeepsItsTypeAndCannotTickTheWizard) {
    first.HideInstallationMode();
    first.State.IsUpgrade = true;
    first.State.PageIndex = TMainForm::kFinishedPage;
    first.SetupPage();
    SetupChoices choices;
    choices.type = SetupType::kAdvanced;
    choices.runTutorial = true;
    choices.name = "Jane Tester";
    choices.email = "jane@example.com";
    ChoiceNotes notes;
    std::string error;
    ASSERT_TRUE(ApplyChoices(first, choices, fake.Files(), fake.System(), error, &notes));
    EXPECT_TRUE(notes.typeIgnored);
    EXPECT_TRUE(first.SetupModeBasic->Checked());
    EXPECT_FALSE(first.RunTutorial->Checked());
    EXPECT_TRUE(UnattendedChoicesComplete(first, error)) << error;
    EXPECT_EQ(CurrentChoices(first, fake.System(), "").type, std::nullopt);
}

TEST_F(WizardChoicesTest, UnattendedRunsNeedWhatThePagesNeed) {
    std::string error;
    SetupChoices choices;
    choices.installDir = "Q:\\Tolva";
    EXPECT_FALSE(ApplyChoices(first, choices, fake.Files(), fake.System(), error));
    EXPECT_EQ(error, "DIR: the folder cannot be made: drive Q: does not exist");

    EXPECT_FALSE(UnattendedChoicesComplete(first, error));
    EXPECT_EQ(error, "no name: give NAME");
    choices = {};
    choices.name = "Jane Tester";
    choices.email = "jane@example.com";
    choices.type = SetupType::kAdvanced;
    ASSERT_TRUE(ApplyChoices(first, choices, fake.Files(), fake.System(), error));
    EXPECT_FALSE(UnattendedChoicesComplete(first, error));
    EXPECT_EQ(error, "an advanced installation needs its database connection: give DATABASE");
}

}  // namespace
}  // namespace tolva::setup

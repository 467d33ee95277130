#include "setup/browse_folder_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/fake/fake_platform.h"
#include "ui/application.h"
#include "ui/headless_display.h"

namespace tolva::setup {
namespace {

using platform::DialogResult;
using platform::DriveType;
using ui::Key;

// The browser over a machine in memory with C:\Program Files (two programs in it, one of them
// hidden), the folders the in-memory shell makes and C:\Windows, and a D: drive holding
// D:\Data\Mail.
class BrowseFolderTest : public ::testing::Test {
protected:
    BrowseFolderTest() {
        auto& files = fake_.Files();
        for (const char* folder : {"C:\\Program Files\\Common Files", "C:\\Program Files\\zeta",
                                   "C:\\Program Files\\Hidden", "D:\\Data\\Mail"}) {
            EXPECT_TRUE(files.CreateFolders(folder).ok());
        }
        EXPECT_TRUE(
            files.SetAttributes("C:\\Program Files\\Hidden", platform::file_attribute::kHidden)
                .ok());
        files.AddDrive({"D:\\", DriveType::kFixed, "Backup"});
    }

    // Browses from folder while script acts as the user; the folder after it and what Browse
    // returned.
    std::pair<bool, std::string> BrowseFrom(std::string folder,
                                            std::function<void(ui::Form&)> script) {
        display_.ScriptModal("TBrowseFolder", std::move(script));
        const bool chosen = browser_.Browse(folder);
        EXPECT_TRUE(display_.Problems().empty()) << display_.Problems().front();
        return {chosen, folder};
    }

    std::u16string Path() const { return browser_.PathEdit->Text(); }
    std::u16string Rows() const { return browser_.DirectoryListBox->ItemsText(); }
    std::u16string CurrentRow() const {
        const int row = browser_.DirectoryListBox->ItemIndex();
        return row < 0 ? u"" : browser_.DirectoryListBox->Items()[static_cast<size_t>(row)].text;
    }
    std::u16string Drive() const {
        const int index = browser_.DriveComboBox->ItemIndex();
        return index < 0 ? u"" : browser_.DriveComboBox->Items()[static_cast<size_t>(index)].text;
    }

    platform::FakePlatform fake_;
    ui::HeadlessDisplay display_;
    ui::Application application_{display_};
    TBrowseFolder browser_{application_, fake_.Services()};
};

TEST_F(BrowseFolderTest, OpensOnTheNearestExistingFolderWithThePathSelected) {
    const auto [chosen, folder] = BrowseFrom("C:\\Program Files\\Tolva\\", [&](ui::Form& form) {
        EXPECT_EQ(form.Caption(), u"Choose Folder");
        EXPECT_EQ(Path(), u"C:\\Program Files\\Tolva\\") << "preset as given";
        EXPECT_EQ(form.ActiveControl(), browser_.PathEdit);
        EXPECT_EQ(browser_.PathEdit->SelStart(), 0);
        EXPECT_EQ(browser_.PathEdit->SelLength(), 23);
        EXPECT_EQ(Rows(), u"C:\\\r\n    Program Files\r\n        Common Files\r\n        zeta\r\n")
            << "hidden folders are left out, the others sorted whatever their case";
        EXPECT_EQ(CurrentRow(), u"    Program Files");
        EXPECT_EQ(browser_.DriveComboBox->ItemsText(), u"C:\r\nD: [Backup]\r\n");
        EXPECT_EQ(Drive(), u"C:");
        EXPECT_TRUE(display_.Click(form, "CancelButton"));
    });
    EXPECT_FALSE(chosen);
    EXPECT_EQ(folder, "C:\\Program Files\\Tolva\\") << "Cancel leaves the folder as it was";
}

TEST_F(BrowseFolderTest, NavigatesFoldersAndDrives) {
    const auto [chosen, folder] = BrowseFrom("C:\\Program Files\\", [&](ui::Form& form) {
        // A click writes the folder into the path field; a double click opens it.
        EXPECT_TRUE(display_.Choose(form, "DirectoryListBox", u"        zeta"));
        EXPECT_EQ(Path(), u"C:\\Program Files\\zeta\\");
        EXPECT_TRUE(display_.DoubleClick(form, "DirectoryListBox", u"C:\\"));
        EXPECT_EQ(Path(), u"C:\\");
        EXPECT_EQ(Rows(),
                  u"C:\\\r\n    Program Files\r\n    ProgramData\r\n    Users\r\n    Windows\r\n");
        EXPECT_TRUE(display_.DoubleClick(form, "DirectoryListBox", u"    Windows"));
        EXPECT_EQ(Rows(), u"C:\\\r\n    Windows\r\n        Temp\r\n");

        EXPECT_TRUE(display_.Choose(form, "DriveComboBox", u"D: [Backup]"));
        EXPECT_EQ(Path(), u"D:\\");
        EXPECT_EQ(Rows(), u"D:\\\r\n    Data\r\n");
        EXPECT_TRUE(display_.DoubleClick(form, "DirectoryListBox", u"    Data"));
        EXPECT_EQ(Rows(), u"D:\\\r\n    Data\r\n        Mail\r\n");
        EXPECT_EQ(Path(), u"D:\\Data\\");
        EXPECT_TRUE(display_.Press(form, Key::kEnter)) << "OK is the default button";
    });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(folder, "D:\\Data\\");
    EXPECT_TRUE(fake_.Dialogs().Shown().empty()) << "an existing folder needs no question";
}

TEST_F(BrowseFolderTest, EveryWayOutButOkCancels) {
    const std::vector<std::pair<const char*, std::function<void(ui::Form&)>>> ways = {
        {"Cancel", [&](ui::Form& form) { EXPECT_TRUE(display_.Click(form, "CancelButton")); }},
        {"Esc", [&](ui::Form& form) { EXPECT_TRUE(display_.Press(form, Key::kEscape)); }},
        {"close box", [&](ui::Form& form) { EXPECT_TRUE(display_.CloseBox(form)); }},
    };
    for (const auto& [way, leave] : ways) {
        const auto [chosen, folder] = BrowseFrom("C:\\Program Files\\", [&](ui::Form& form) {
            EXPECT_TRUE(display_.Choose(form, "DirectoryListBox", u"        zeta"));
            leave(form);
        });
        EXPECT_FALSE(chosen) << way;
        EXPECT_EQ(folder, "C:\\Program Files\\") << way;
    }
}

TEST_F(BrowseFolderTest, AMissingFolderIsAcceptedOnlyWhenTheUserAgreesToCreateIt) {
    fake_.Dialogs().QueueAnswer(DialogResult::kNo);
    fake_.Dialogs().QueueAnswer(DialogResult::kYes);
    const auto [chosen, folder] = BrowseFrom("C:\\Program Files\\", [&](ui::Form& form) {
        EXPECT_TRUE(display_.Type(form, "PathEdit", u"E:\\Mail Server"));
        EXPECT_TRUE(display_.Click(form, "OKButton"));
        EXPECT_TRUE(form.Showing()) << "No keeps the browser open";
        EXPECT_EQ(form.ActiveControl(), browser_.PathEdit);
        EXPECT_TRUE(display_.Click(form, "OKButton"));
        EXPECT_FALSE(form.Showing());
    });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(folder, "E:\\Mail Server") << "as typed; the deployment adds the backslash";
    const auto& shown = fake_.Dialogs().Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text,
              u"The Folder:\r\n\r\n'E:\\Mail Server'\r\n\r\ndoes not exist. Do you want the "
              u"folder to be created?");
    EXPECT_EQ(shown[0].caption, u"Setup");
    EXPECT_EQ(shown[0].buttons, platform::DialogButtons::kYesNo);
    EXPECT_FALSE(fake_.Files().FolderExists("E:\\Mail Server")) << "created later, not here";
}

// A folder typed without its drive would otherwise be taken from the installer's own current
// folder; it is taken from the folder the list shows, and a blank path field is not accepted.
TEST_F(BrowseFolderTest, TypedFoldersWithoutADriveAreTakenFromTheListedFolder) {
    struct Case {
        std::u16string typed;
        std::string folder;
    } cases[] = {
        {u"Tolva", "C:\\Program Files\\Tolva"},
        {u"\\Tolva", "C:\\Tolva"},
        {u"d:Tolva", "d:\\Tolva"},
        {u"\\\\server\\share\\Tolva", "\\\\server\\share\\Tolva"},
        {u"C:\\Windows", "C:\\Windows"},
    };
    fake_.Dialogs().SetDefaultAnswer(DialogResult::kYes);
    for (const Case& c : cases) {
        const auto [chosen, folder] = BrowseFrom("C:\\Program Files\\", [&](ui::Form& form) {
            EXPECT_TRUE(display_.Type(form, "PathEdit", u"   "));
            EXPECT_TRUE(display_.Click(form, "OKButton"));
            EXPECT_TRUE(form.Showing()) << "a blank path";
            EXPECT_TRUE(display_.Type(form, "PathEdit", c.typed));
            EXPECT_TRUE(display_.Click(form, "OKButton"));
        });
        EXPECT_TRUE(chosen);
        EXPECT_EQ(folder, c.folder);
    }
}

TEST_F(BrowseFolderTest, NetworkButtonListsTheDrivesAgain) {
    BrowseFrom("C:\\", [&](ui::Form& form) {
        fake_.Files().AddDrive({"N:\\", DriveType::kRemote, "mail on server"});
        EXPECT_TRUE(display_.PressAlt(form, u'n'));
        EXPECT_EQ(browser_.DriveComboBox->ItemsText(),
                  u"C:\r\nD: [Backup]\r\nN: [mail on server]\r\n");
        EXPECT_EQ(Drive(), u"C:") << "the listed drive stays chosen";
        EXPECT_TRUE(display_.Choose(form, "DriveComboBox", u"N: [mail on server]"));
        EXPECT_EQ(Path(), u"N:\\");
        EXPECT_TRUE(display_.Click(form, "CancelButton"));
    });
}

}  // namespace
}  // namespace tolva::setup

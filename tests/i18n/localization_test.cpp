#include "i18n/localization.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "archive/archive_writer.h"
#include "archive/temp_root.h"
#include "i18n/export_switch.h"
#include "platform/fake/fake_system.h"
#include "platform/host/host_file_system.h"

namespace tolva::i18n {
namespace {

constexpr char kSetupFolder[] = "C:\\Setup\\";
constexpr char kExtractDir[] = "C:\\Temp\\tolvainstall\\";
constexpr char kLicense[] = "C:\\Setup\\license.txt";
constexpr char kReadme[] = "C:\\Setup\\readme.txt";

std::string LanguageFile(std::string_view noText, std::string_view consoleText = "") {
    std::string items = "<ITEM ID=\"cno\" VALUE=\"" + std::string(noText) + "\"/>";
    if (!consoleText.empty()) {
        items += "<ITEM ID=\"mconsole\" VALUE=\"" + std::string(consoleText) + "\"/>";
    }
    return "<APPLICATION><FORMS/><STRINGS><STRING ID=\"TStrings\">" + items +
           "</STRING></STRINGS></APPLICATION>";
}

std::string Marked(std::string_view caption, std::string_view noText) {
    return "<?lang caption='" + std::string(caption) + "'?>\r\n" + LanguageFile(noText);
}

class CaptionList : public ComponentsTreeCaptions {
public:
    size_t NodeCount() const override { return nodes.size(); }
    std::u16string NodeCaption(size_t position) const override { return nodes[position]; }
    void SetNodeCaption(size_t position, std::u16string_view caption) override {
        nodes[position] = caption;
    }

    std::vector<std::u16string> nodes;
};

class ScriptedDialog : public LanguageDialog {
public:
    explicit ScriptedDialog(std::optional<int> answer) : answer_(answer) {}

    std::optional<int> ChooseLanguage(const std::vector<std::u16string>& offered,
                                      int chosen) override {
        shown = true;
        captions = offered;
        preselected = chosen;
        return answer_;
    }

    bool shown = false;
    std::vector<std::u16string> captions;
    int preselected = -2;

private:
    std::optional<int> answer_;
};

// One run of setup.exe over real files: its own texts, registry and components tree.
class LocalizationTest : public ::testing::Test {
protected:
    Localization& Run(bool exportSwitch = false) {
        localization_.emplace(files_, system_, kSetupFolder, exportSwitch, registry_, strings_);
        localization_->SetComponentsTree(&tree_);
        return *localization_;
    }
    bool Select(ScriptedDialog& dialog, std::string_view defaultLanguage = {}) {
        return Run().SelectLanguage(dialog, kExtractDir, defaultLanguage, license_, readme_);
    }

    archive::test::TempRoot root_;
    platform::HostFileSystem files_{platform::HostPathMap(root_.root().string())};
    platform::FakeSystem system_;
    TLocalizationStrings registry_;
    TUIStrings strings_;
    CaptionList tree_;
    std::optional<Localization> localization_;
    std::string license_ = kLicense;
    std::string readme_ = kReadme;
};

TEST(ExportLanguageSwitch, Forms) {
    const struct {
        std::vector<std::string> arguments;
        bool present;
    } cases[] = {
        {{}, false},
        {{"/exportlanguage"}, true},
        {{"-EXPORTLANGUAGE"}, true},
        {{"/SILENT", "-ExportLanguage"}, true},
        {{"/UNINSTALL", "InstallDir=C:\\x", "/exportlanguage"}, true},
        {{"exportlanguage"}, false},
        {{"\\exportlanguage"}, false},
        {{"//exportlanguage"}, false},
        {{"/exportlanguage2"}, false},
        {{"/export"}, false},
        {{"/exportlanguage "}, false},
        {{"/"}, false},
    };
    for (const auto& c : cases) {
        std::string line;
        for (const std::string& argument : c.arguments) {
            line += "[" + argument + "]";
        }
        EXPECT_EQ(HasExportLanguageSwitch(c.arguments), c.present) << "arguments: " << line;
    }
}

TEST_F(LocalizationTest, WithoutALanguageFileNothingChanges) {
    tree_.nodes = {u"a", u"b"};
    EXPECT_EQ(Run().LoadLanguage({}), LanguageLoad::kContinue);
    EXPECT_EQ(localization_->LanguageFile(), "C:\\Setup\\setup.lng");
    EXPECT_EQ(registry_.Count(), 0u);
    EXPECT_EQ(strings_[MEngine], u"Services and core files");
    EXPECT_FALSE(root_.Exists("Setup/setup.lng"));
}

TEST_F(LocalizationTest, LanguageFileBesideTheProgramIsLoadedOnTheTreeCaptions) {
    tree_.nodes.resize(16);
    for (size_t i = 0; i < tree_.nodes.size(); ++i) {
        tree_.nodes[i] = u"node " + std::u16string(1, char16_t(u'a' + i));
    }
    root_.Write("Setup/setup.lng", LanguageFile("Nein", "Verwaltung"));
    EXPECT_EQ(Run().LoadLanguage({}), LanguageLoad::kContinue);
    EXPECT_EQ(strings_[cNo], u"Nein");
    EXPECT_EQ(strings_[MEngine], u"node a");  // captured before the import
    EXPECT_EQ(strings_[MAddOns], u"node o");
    EXPECT_EQ(tree_.nodes[1], u"Verwaltung");
    EXPECT_EQ(tree_.nodes[0], u"node a");
    EXPECT_EQ(tree_.nodes[15], u"node p");

    // A second language goes into the same entries.
    root_.Write("Setup/lang/de.lng", LanguageFile("Nee"));
    EXPECT_EQ(localization_->LoadLanguage("C:\\Setup\\lang\\de.lng"), LanguageLoad::kContinue);
    EXPECT_EQ(registry_.Count(), kUIStringCount);
    EXPECT_EQ(strings_[cNo], u"Nee");
    EXPECT_EQ(tree_.nodes[1], u"Verwaltung");
    EXPECT_EQ(localization_->LanguageFile(), "C:\\Setup\\lang\\de.lng");
}

TEST_F(LocalizationTest, ExportSwitchWritesTheEnglishFileAndEndsTheRun) {
    EXPECT_EQ(Run(true).LoadLanguage({}), LanguageLoad::kEndRun);
    const std::string written = root_.Read("Setup/setup.lng");
    EXPECT_EQ(written.find("<?"), std::string::npos);
    EXPECT_EQ(written.rfind(
                  "<APPLICATION><FORMS/>\r\n<STRINGS><STRING ID=\"TStrings\"><ITEM ID=\"cname\" "
                  "VALUE=\"Corvane Tolva Mail Server\"/>\r\n",
                  0),
              0u);
    EXPECT_NE(
        written.find("<ITEM ID=\"maddons\" VALUE=\"Wizards\"/>\r\n<ITEM ID=\"cuninstallrefused\""),
        std::string::npos);
    EXPECT_TRUE(written.ends_with("</STRING>\r\n</STRINGS>\r\n</APPLICATION>\r\n"));
}

TEST_F(LocalizationTest, ExportSwitchKeepsTheTextsOfAnExistingFile) {
    root_.Write("Setup/setup.lng", LanguageFile("Nein"));
    EXPECT_EQ(Run(true).LoadLanguage({}), LanguageLoad::kEndRun);
    const std::string written = root_.Read("Setup/setup.lng");
    EXPECT_NE(written.find("<ITEM ID=\"cno\" VALUE=\"Nein\"/>"), std::string::npos);
    EXPECT_NE(written.find("<ITEM ID=\"cyes\" VALUE=\"&amp;Yes\"/>"), std::string::npos);
}

TEST_F(LocalizationTest, ExportSwitchEndsTheRunEvenWhenTheFileCannotBeWritten) {
    root_.Write("Setup", "a file where the folder should be");
    EXPECT_EQ(Run(true).LoadLanguage({}), LanguageLoad::kEndRun);
}

TEST_F(LocalizationTest, OnlyEnglishShowsNoDialog) {
    ScriptedDialog dialog(std::nullopt);
    EXPECT_TRUE(Select(dialog));
    EXPECT_FALSE(dialog.shown);
    EXPECT_EQ(license_, kLicense);
    EXPECT_EQ(strings_[cNo], u"&No");
}

TEST_F(LocalizationTest, ChosenLanguageBringsItsOwnDocuments) {
    root_.Write("Setup/lang/de/de.lng", Marked("Deutsch", "Nein"));
    root_.Write("Setup/lang/de/license.txt", "Lizenz");
    root_.Write("Setup/lang/de/readme.txt", "Liesmich");
    root_.Write("Setup/lang/fr/fr.lng", Marked("Fran\xC3\xA7"
                                               "ais",
                                               "Non"));
    ScriptedDialog dialog(0);
    EXPECT_TRUE(Select(dialog));
    EXPECT_EQ(dialog.captions,
              (std::vector<std::u16string>{u"Deutsch", u"English", u"Fran\u00E7ais"}));
    EXPECT_EQ(dialog.preselected, 1);
    EXPECT_EQ(strings_[cNo], u"Nein");
    EXPECT_EQ(localization_->LanguageFile(), "C:\\Setup\\lang\\de\\de.lng");
    EXPECT_EQ(license_, "C:\\Setup\\lang\\de\\license.txt");
    EXPECT_EQ(readme_, "C:\\Setup\\lang\\de\\readme.txt");

    // A language without documents of its own keeps those in use.
    license_ = kLicense;
    readme_ = kReadme;
    ScriptedDialog french(2);
    EXPECT_TRUE(Select(french));
    EXPECT_EQ(strings_[cNo], u"Non");
    EXPECT_EQ(license_, kLicense);
    EXPECT_EQ(readme_, kReadme);
}

TEST_F(LocalizationTest, Preselection) {
    root_.Write("Setup/lang/de.lng", Marked("Deutsch", "Nein"));
    root_.Write("Setup/lang/ru.lng",
                Marked("\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9",
                       "\xD0\x9D\xD0\xB5\xD1\x82"));
    const struct {
        std::string defaultLanguage;  // as info.xml gives it
        int preselected;              // in Deutsch, English, Russian
    } cases[] = {
        {"", 1},         {"English", 1},
        {"DEUTSCH", 0},  {"\xD1\x80\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9", 2},
        {"Klingon", -1}, {"Deutsch;C:\\Setup\\lang\\de.lng", -1},
    };
    for (const auto& c : cases) {
        ScriptedDialog dialog(std::nullopt);
        EXPECT_FALSE(Select(dialog, c.defaultLanguage));
        EXPECT_EQ(dialog.preselected, c.preselected) << "default language: " << c.defaultLanguage;
    }
}

TEST_F(LocalizationTest, CancelOrEnglishOrNoChoiceKeepTheTextsInUse) {
    root_.Write("Setup/lang/de/de.lng", Marked("Deutsch", "Nein"));
    root_.Write("Setup/lang/de/license.txt", "Lizenz");
    const struct {
        std::optional<int> answer;
        bool result;
    } cases[] = {{std::nullopt, false}, {1, true}, {-1, true}, {7, true}};
    for (const auto& c : cases) {
        ScriptedDialog dialog(c.answer);
        EXPECT_EQ(Select(dialog), c.result) << c.answer.value_or(-99);
        EXPECT_TRUE(dialog.shown);
        EXPECT_EQ(strings_[cNo], u"&No") << c.answer.value_or(-99);
        EXPECT_EQ(license_, kLicense) << c.answer.value_or(-99);
        EXPECT_EQ(registry_.Count(), 0u) << c.answer.value_or(-99);
    }
}

class LanguageArchiveTest : public LocalizationTest {
protected:
    // setuplang.dat beside the program, the last entry cut short when truncated.
    void WriteArchive(bool truncated) {
        ASSERT_TRUE(files_.CreateFolders(kSetupFolder).ok());
        archive::ArchiveWriter writer;
        ASSERT_TRUE(writer.Create(files_, "C:\\Setup\\setuplang.dat", {}).ok());
        ASSERT_TRUE(writer.AddContent("de\\de.lng", Marked("Deutsch", "Nein")).ok());
        ASSERT_TRUE(writer.AddContent("de\\license.txt", "Lizenz").ok());
        ASSERT_TRUE(writer.AddContent("ru\\ru.lng", Marked("Russkij", "Net")).ok());
        ASSERT_TRUE(writer.Finish().ok());
        if (truncated) {
            const std::string whole = root_.Read("Setup/setuplang.dat");
            root_.Write("Setup/setuplang.dat", whole.substr(0, whole.size() - 10));
        }
        // Beside an archive the folder next to the program is not looked at.
        root_.Write("Setup/lang/fr.lng", Marked("Francais", "Non"));
    }
};

TEST_F(LanguageArchiveTest, LanguagesComeFromTheArchiveInTheExtractionFolder) {
    WriteArchive(false);
    root_.Write("Temp/tolvainstall/lang/de/de.lng", "stale copy of an earlier run");
    ScriptedDialog dialog(0);
    EXPECT_TRUE(Select(dialog));
    EXPECT_EQ(dialog.captions, (std::vector<std::u16string>{u"Deutsch", u"English", u"Russkij"}));
    EXPECT_EQ(strings_[cNo], u"Nein");
    EXPECT_EQ(localization_->LanguageFile(), "C:\\Temp\\tolvainstall\\lang\\de\\de.lng");
    EXPECT_EQ(license_, "C:\\Temp\\tolvainstall\\lang\\de\\license.txt");
    EXPECT_EQ(readme_, kReadme);
}

TEST_F(LanguageArchiveTest, DamagedArchiveOffersWhatWasExtracted) {
    WriteArchive(true);
    ScriptedDialog dialog(std::nullopt);
    EXPECT_FALSE(Select(dialog));
    EXPECT_EQ(dialog.captions, (std::vector<std::u16string>{u"Deutsch", u"English"}));
}

}  // namespace
}  // namespace tolva::i18n

// The translations the demo distribution ships (demo/lang) against the installer's English texts,
// and the language archive the build packs from them.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "archive/temp_root.h"
#include "i18n/control_translation.h"
#include "i18n/lang_select_form.h"
#include "i18n/language_file.h"
#include "i18n/language_list.h"
#include "i18n/localization.h"
#include "language_test_support.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/memory_file_system.h"
#include "platform/host/host_file_system.h"
#include "provisioning/odbc_form.h"
#include "provisioning/setup_wizard_form.h"
#include "setup/browse_folder_form.h"
#include "setup/main_form.h"
#include "ui/application.h"
#include "ui/headless_display.h"
#include "util/utf8.h"

namespace tolva::i18n {
namespace {

// Every form of setup.exe that exists so far, in the order the start-up creates them. A form added
// to the installer is added here: the tests below then list each of its texts that a shipped
// translation lacks.
struct InstallerForms {
    explicit InstallerForms(ui::Application& application)
        : main(application, machine.Services(), log, end),
          browser(application, machine.Services()),
          database(application, machine.Services(), settings, "C:\\Setup\\"),
          postInstallWizard(application),
          langSelect(application) {}

    struct : util::SetupLogSink {
        void Write(std::string_view) override {}
    } log;
    struct : setup::ProcessEnd {
        void EndProcess(int) override {}
    } end;
    platform::FakePlatform machine;
    stores::SettingsStore settings{machine.Services()};
    setup::TMainForm main;
    setup::TBrowseFolder browser;
    provisioning::TODBCForm database;
    provisioning::TSetupWizardForm postInstallWizard;
    TLangSelectForm langSelect;
};

// One run of setup.exe's texts: the installer's forms in a headless display and the UI strings.
struct InstallerRun {
    LanguageFileScope Scope(platform::FileSystem& files) { return strings.Scope(files, &forms); }

    test::StringRun strings;
    ui::HeadlessDisplay display;
    ui::Application application{display, &strings.system};
    InstallerForms installerForms{application};
    ControlTranslation forms{application, strings.system};
};

struct ShippedLanguage {
    const char* folder;
    const char* file;
    std::u16string caption;
};

const ShippedLanguage kShipped[] = {
    {"de", "deutsch.lng", u"Deutsch"},
    {"ru", "russian.lng", u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439"},
};

constexpr char kPath[] = "C:\\Setup\\setup.lng";

std::string ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string ShippedFile(const ShippedLanguage& language, const std::string& name) {
    return ReadHostFile(std::string(TOLVA_DEMO_DIR) + "/lang/" + language.folder + "/" + name);
}

std::string EnglishFile() {
    InstallerRun run;
    platform::MemoryFileSystem files;
    EXPECT_TRUE(ExportLanguageFile(run.Scope(files), kPath, true));
    return files.files[kPath];
}

// A text of a language file and the form it shows on (empty for the string table).
struct FileText {
    std::string form;
    std::u16string text;
};

// Every text of a language file by what it belongs to: "FORM TLangSelectForm", "ITEM
// TLangSelectForm.OKButton (ttntbutton)", its "HINT ...", "STRING cno".
std::map<std::string, FileText> TextsOf(const std::string& file) {
    platform::FakeSystem system;
    util::TXMLObject document(system);
    document.ParseXML(file);
    std::map<std::string, FileText> texts;
    const util::TXMLObject* application = document.FindChild("APPLICATION");
    if (application == nullptr) {
        return texts;
    }
    auto wide = [](const util::TXMLObject& element, std::string_view name) {
        return util::UTF8ToWide(element.GetAttribute(name, util::xcEntities));
    };
    if (const util::TXMLObject* forms = application->FindChild("FORMS")) {
        for (const auto& form : forms->Children) {
            const std::string id = form->GetAttribute("ID", util::xcNone);
            texts["FORM " + id] = {id, wide(*form, "CAPTION")};
            for (const auto& item : form->Children) {
                const std::string name = id + "." + item->GetAttribute("ID", util::xcNone) + " (" +
                                         item->GetAttribute("CLASS", util::xcNone) + ")";
                texts["ITEM " + name] = {id, wide(*item, "CAPTION")};
                if (!item->GetAttribute("HINT", util::xcNone).empty()) {
                    texts["HINT " + name] = {id, wide(*item, "HINT")};
                }
            }
        }
    }
    const util::TXMLObject* strings = application->FindChild("STRINGS");
    if (const util::TXMLObject* list = strings ? strings->FindChild("STRING") : nullptr) {
        for (const auto& item : list->Children) {
            texts["STRING " + item->GetAttribute("ID", util::xcNone)] = {{}, wide(*item, "VALUE")};
        }
    }
    return texts;
}

size_t Placeholders(std::u16string_view text) {
    size_t count = 0;
    for (size_t at = text.find(u"%s"); at != std::u16string_view::npos;
         at = text.find(u"%s", at + 2)) {
        ++count;
    }
    return count;
}

// What a translation lacks or gets wrong against the English file, one line each: texts not
// translated, texts of forms or controls that no longer exist, "%s" marks and accelerators that
// differ from the English text, and accelerators used twice on one form.
std::vector<std::string> TranslationProblems(const std::string& english,
                                             const std::string& translation) {
    const std::map<std::string, FileText> source = TextsOf(english);
    const std::map<std::string, FileText> translated = TextsOf(translation);
    std::vector<std::string> problems;
    std::map<std::string, std::map<char16_t, std::string>> accelerators;
    for (const auto& [key, text] : translated) {
        const auto original = source.find(key);
        if (original == source.end()) {
            problems.push_back(key + ": not in the installer");
            continue;
        }
        if (Placeholders(text.text) != Placeholders(original->second.text)) {
            problems.push_back(key + ": \"%s\" marks differ from the English text");
        }
        const char16_t letter = ui::MnemonicOf(text.text);
        if ((letter != 0) != (ui::MnemonicOf(original->second.text) != 0)) {
            problems.push_back(key + ": the English text " +
                               (letter == 0 ? "has an accelerator" : "has no accelerator"));
        }
        if (letter != 0 && !text.form.empty() && !key.starts_with("HINT ")) {
            auto [other, added] = accelerators[text.form].emplace(letter, key);
            if (!added) {
                problems.push_back(key + ": same accelerator as " + other->second);
            }
        }
    }
    for (const auto& [key, text] : source) {
        if (!translated.contains(key)) {
            problems.push_back(key + ": not translated");
        }
    }
    return problems;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) {
        joined += "  " + line + "\n";
    }
    return joined;
}

TEST(ShippedTranslations, CoverEveryTextOfTheInstaller) {
    const std::string english = EnglishFile();
    for (const ShippedLanguage& language : kShipped) {
        const std::vector<std::string> problems =
            TranslationProblems(english, ShippedFile(language, language.file));
        EXPECT_TRUE(problems.empty()) << language.folder << "/" << language.file << ":\n"
                                      << Lines(problems);
    }
}

// The check itself finds what a translator may get wrong.
TEST(ShippedTranslations, ProblemsAreListed) {
    const std::string english =
        "<APPLICATION><FORMS><FORM ID=\"TDialog\" CAPTION=\"Dialog\">"
        "<ITEM ID=\"OK\" CLASS=\"ttntbutton\" CAPTION=\"&amp;OK\"/>"
        "<ITEM ID=\"Cancel\" CLASS=\"ttntbutton\" CAPTION=\"&amp;Cancel\"/></FORM></FORMS>"
        "<STRINGS><STRING><ITEM ID=\"csetup\" VALUE=\"%s Setup\"/><ITEM ID=\"cno\" "
        "VALUE=\"&amp;No\"/><ITEM ID=\"cerror\" VALUE=\"Error\"/></STRING></STRINGS></APPLICATION>";
    const std::string translation =
        "<APPLICATION><FORMS><FORM ID=\"TDialog\" CAPTION=\"Dialog\">"
        "<ITEM ID=\"OK\" CLASS=\"ttntbutton\" CAPTION=\"&amp;Gut\"/>"
        "<ITEM ID=\"Cancel\" CLASS=\"ttntbutton\" CAPTION=\"&amp;gehen\"/>"
        "<ITEM ID=\"Old\" CLASS=\"ttntlabel\" CAPTION=\"Alt\"/></FORM></FORMS>"
        "<STRINGS><STRING><ITEM ID=\"csetup\" VALUE=\"Setup\"/><ITEM ID=\"cno\" "
        "VALUE=\"Nein\"/></STRING></STRINGS></APPLICATION>";
    EXPECT_EQ(TranslationProblems(english, translation),
              (std::vector<std::string>{
                  "ITEM TDialog.OK (ttntbutton): same accelerator as ITEM TDialog.Cancel "
                  "(ttntbutton)",
                  "ITEM TDialog.Old (ttntlabel): not in the installer",
                  "STRING cno: the English text has an accelerator",
                  "STRING csetup: \"%s\" marks differ from the English text",
                  "STRING cerror: not translated",
              }));
}

// A shipped file is what the export writes for its texts: read and written again it comes back
// byte for byte (after its marker line), so no text is lost or changed on the way.
TEST(ShippedTranslations, ReadBackByteForByte) {
    for (const ShippedLanguage& language : kShipped) {
        const std::string shipped = ShippedFile(language, language.file);
        const size_t markerEnd = shipped.find("\r\n");
        ASSERT_NE(markerEnd, std::string::npos) << language.file;
        platform::FakeSystem system;
        EXPECT_EQ(LanguageMarkerCaption(shipped.substr(0, markerEnd), system), language.caption)
            << language.file;

        InstallerRun run;
        platform::MemoryFileSystem files;
        files.files[kPath] = shipped;
        ASSERT_TRUE(ImportLanguageFile(run.Scope(files), kPath, true)) << language.file;
        ASSERT_TRUE(ExportLanguageFile(run.Scope(files), kPath, true)) << language.file;
        EXPECT_EQ(files.files[kPath], shipped.substr(markerEnd + 2)) << language.file;
    }
}

// Licence and read-me are UTF-8 with CR LF line ends: the licence box and Notepad show them as
// written.
TEST(ShippedTranslations, DocumentsAreUtf8WithWindowsLineEnds) {
    for (const ShippedLanguage& language : kShipped) {
        for (const char* name : {"license.txt", "readme.txt"}) {
            const std::string text = ShippedFile(language, name);
            const std::string where = std::string(language.folder) + "/" + name;
            EXPECT_GT(text.size(), 500u) << where;
            EXPECT_EQ(util::WideToUTF8(util::UTF8ToWide(text)), text) << where;
            for (size_t at = text.find('\n'); at != std::string::npos;
                 at = text.find('\n', at + 1)) {
                ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << where << " at byte " << at;
            }
        }
    }
}

// The language archive the build packs offers every shipped language; the one chosen brings its
// texts, the dialog's own among them, and its documents.
TEST(ShippedTranslations, LanguageArchiveOffersThemAll) {
    const std::string archive = ReadHostFile(TOLVA_LANGUAGE_ARCHIVE);
    ASSERT_FALSE(archive.empty()) << TOLVA_LANGUAGE_ARCHIVE;
    archive::test::TempRoot root;
    root.Write("Setup/setuplang.dat", archive);
    platform::HostFileSystem files{platform::HostPathMap(root.root().string())};
    InstallerRun run;
    Localization localization(files, run.strings.system, "C:\\Setup\\", false, run.strings.registry,
                              run.strings.strings);
    localization.SetFormsTranslator(&run.forms);
    ASSERT_EQ(localization.LoadLanguage({}), LanguageLoad::kContinue);

    TLangSelectForm& dialog = run.installerForms.langSelect;
    std::vector<ui::ListItem> offered;
    run.display.ScriptModal("TLangSelectForm", [&](ui::Form& form) {
        offered = dialog.LangCombo->Items();
        EXPECT_TRUE(run.display.Choose(form, "LangCombo", kShipped[1].caption));
        EXPECT_TRUE(run.display.Click(form, "OKButton"));
    });
    std::string license = "C:\\Setup\\license.txt";
    std::string readme = "C:\\Setup\\readme.txt";
    ASSERT_TRUE(localization.SelectLanguage(dialog, "C:\\Temp\\", "", license, readme));
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[0].text, u"Deutsch");
    EXPECT_EQ(offered[1].text, u"English");
    EXPECT_EQ(offered[2].text, kShipped[1].caption);
    EXPECT_EQ(localization.LanguageFile(), "C:\\Temp\\lang\\ru\\russian.lng");
    EXPECT_EQ(license, "C:\\Temp\\lang\\ru\\license.txt");
    EXPECT_EQ(readme, "C:\\Temp\\lang\\ru\\readme.txt");
    EXPECT_EQ(run.strings.strings[cNo], u"&\u041D\u0435\u0442");

    // Shown again, the dialog speaks Russian, and its Russian accelerators work.
    run.display.ScriptModal("TLangSelectForm", [&](ui::Form& form) {
        EXPECT_EQ(form.Caption(),
                  u"\u042F\u0437\u044B\u043A \u0443\u0441\u0442\u0430\u043D"
                  u"\u043E\u0432\u043A\u0438");
        EXPECT_EQ(dialog.CancelButton->Text(), u"&\u041E\u0442\u043C\u0435\u043D\u0430");
        EXPECT_TRUE(run.display.PressAlt(form, u'\u043E'));
    });
    EXPECT_FALSE(localization.SelectLanguage(dialog, "C:\\Temp\\", "", license, readme));
    EXPECT_TRUE(run.display.Problems().empty());
}

}  // namespace
}  // namespace tolva::i18n

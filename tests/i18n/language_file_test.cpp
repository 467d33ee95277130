#include "i18n/language_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "language_test_support.h"
#include "platform/fake/faulty_file_system.h"

namespace tolva::i18n {
namespace {

using test::RecordingForms;
using test::StringRun;

constexpr char kPath[] = "C:\\Setup\\setup.lng";

std::string ReadTestData(const std::string& name) {
    std::ifstream in(std::string(TOLVA_I18N_TEST_DATA) + "/" + name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string Repeated(std::string_view piece, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

std::string Exported(StringRun& run, FormsTranslator* forms = nullptr) {
    platform::MemoryFileSystem files;
    EXPECT_TRUE(ExportLanguageFile(run.Scope(files, forms), kPath, true));
    return files.files[kPath];
}

// A language file of the English run is what translators start from, byte for byte.
TEST(LanguageFileExport, EnglishFileIsTheTranslatorsTemplate) {
    StringRun run;
    const std::string english = ReadTestData("english.lng");
    ASSERT_FALSE(english.empty());
    EXPECT_EQ(Exported(run), english);
}

TEST(LanguageFileExport, RoundTripKeepsEveryTextAndByte) {
    StringRun first;
    first.strings[cDoYouExit] =
        u"\u0412\u044B \u0445\u043E\u0442\u0438\u0442\u0435 \u0432\u044B\u0439\u0442\u0438?";
    first.strings[cErrorFile] = u"Fehler bei \u201E%s\u201C: <'&\">\r\n%s";
    first.strings[LinkDesc] = u"Verwaltung\r\nLiesmich\r\n";
    first.strings[cSetup] = u"";
    first.strings[MConsole] = u"\u7BA1\u7406";
    RecordingForms forms;
    forms.caption = "Installation \xC3\xA0 &amp; \xE2\x82\xAC";
    const std::string written = Exported(first, &forms);

    platform::MemoryFileSystem files;
    files.files[kPath] = written;
    StringRun second;
    RecordingForms secondForms;
    ASSERT_TRUE(ImportLanguageFile(second.Scope(files, &secondForms), kPath, true));
    for (size_t i = 0; i < kUIStringCount; ++i) {
        const auto key = static_cast<UIString>(i);
        EXPECT_EQ(second.strings[key], first.strings[key]) << "key: " << UIStringKey(key);
    }
    ASSERT_EQ(secondForms.imported.size(), 1u);
    EXPECT_EQ(secondForms.imported[0],
              "<FORMS FONT=\"Tahoma\" FONTSIZE=\"8\"><FORM ID=\"TMainForm\" CAPTION=\"Installation "
              "\xC3\xA0 &amp;amp; \xE2\x82\xAC\"/></FORMS>");
    secondForms.caption = forms.caption;
    EXPECT_EQ(Exported(second, &secondForms), written);
}

TEST(LanguageFileImport, StringItems) {
    const struct {
        std::string items;  // children of STRING
        std::u16string doYouExit;
        std::u16string no;
    } cases[] = {
        {"<ITEM ID=\"CDOYOUEXIT\" VALUE=\"Ja?\"/>", u"Ja?", u"&No"},
        {"<ITEM ID=\"cdoyouexit\" VALUE=\"attribute\">text</ITEM>", u"text", u"&No"},
        {"<ENTRY ID=\"cdoyouexit\" VALUE=\"any element\"/>", u"any element", u"&No"},
        {"<ITEM ID=\"cdoyouexit\"/><ITEM ID=\"cno\"></ITEM>", u"", u""},
        {"<ITEM ID=\"nothing\" VALUE=\"x\"/><ITEM VALUE=\"y\"/>",
         u"Do you wish to cancel this installation?", u"&No"},
        {"<ITEM ID=\"cno\" VALUE=\"a &amp; b &lt;c&gt; &quot;q&quot; &apos;\r\n&#65;\"/>",
         u"Do you wish to cancel this installation?", u"a & b <c> \"q\" '\r\nA"},
        {"<ITEM ID=\"cno\" VALUE=\"\xD0\x9D\xD0\xB5\xD1\x82\"/><ITEM ID=\"cno\" VALUE=\"last\"/>",
         u"Do you wish to cancel this installation?", u"last"},
        {"<ITEM ID=\"cno\" VALUE=\"\xD0\x9D\xD0\xB5\xD1\x82\"/>",
         u"Do you wish to cancel this installation?", u"\u041D\u0435\u0442"},
    };
    for (const auto& c : cases) {
        StringRun run;
        util::TXMLObject list(run.system);
        list.ParseXML(c.items);
        ImportStrings(list, run.system, run.registry);
        EXPECT_EQ(run.strings[cDoYouExit], c.doYouExit) << "items: " << c.items;
        EXPECT_EQ(run.strings[cNo], c.no) << "items: " << c.items;
    }
}

// Whatever a file holds, what is valid of it is applied and nothing else changes.
TEST(LanguageFileImport, BadInput) {
    const std::string item = "<ITEM ID=\"cdoyouexit\" VALUE=\"Ja?\"/>";
    const std::string strings = "<STRINGS><STRING ID=\"TStrings\">" + item + "</STRING></STRINGS>";
    const std::u16string english = u"Do you wish to cancel this installation?";
    const struct {
        std::string name;
        std::optional<std::string> content;  // none: no file at all
        bool read;
        std::u16string doYouExit;
        bool formsApplied;
    } cases[] = {
        {"missing file", std::nullopt, false, english, false},
        {"empty file", "", false, english, false},
        {"not XML", "Dies ist keine Sprachdatei.\r\n\xFF", true, english, false},
        {"binary",
         std::string("\x7F"
                     "ELF\x01\x01\x00<\x00>",
                     10),
         true, english, false},
        {"no APPLICATION", strings, true, english, false},
        {"APPLICATION in lower case", "<application>" + strings + "</application>", true, english,
         false},
        {"no FORMS", "<APPLICATION>" + strings + "</APPLICATION>", true, u"Ja?", false},
        {"no STRINGS", "<APPLICATION><FORMS/></APPLICATION>", true, english, true},
        {"no STRING", "<APPLICATION><FORMS/><STRINGS>" + item + "</STRINGS></APPLICATION>", true,
         english, true},
        {"cut short",
         "<APPLICATION><FORMS><FORM ID=\"TMainForm\"/></FORMS>" + strings.substr(0, 80), true,
         u"Ja?", true},
        {"cut inside the first tag", "<APPLICATION><FORMS", true, english, false},
        {"overlong key",
         "<APPLICATION><STRINGS><STRING><ITEM ID=\"cdoyouexit" + std::string(300, 'x') +
             "\" VALUE=\"Ja?\"/></STRING></STRINGS></APPLICATION>",
         true, english, false},
        {"invalid UTF-8",
         "<APPLICATION><STRINGS><STRING><ITEM ID=\"cno\" VALUE=\"\xFF\xC3\"/>" + item +
             "</STRING></STRINGS></APPLICATION>",
         true, u"Ja?", false},
        {"byte order mark",
         "\xEF\xBB\xBF<?lang caption='Deutsch'?>\r\n<APPLICATION>" + strings + "</APPLICATION>",
         true, u"Ja?", false},
        {"deep nesting", Repeated("<a>", 100000) + "<APPLICATION>" + strings, true, english, false},
    };
    for (const auto& c : cases) {
        platform::MemoryFileSystem files;
        if (c.content) {
            files.files[kPath] = *c.content;
        }
        StringRun run;
        RecordingForms forms;
        EXPECT_EQ(ImportLanguageFile(run.Scope(files, &forms), kPath, true), c.read) << c.name;
        EXPECT_EQ(run.strings[cDoYouExit], c.doYouExit) << c.name;
        EXPECT_EQ(run.strings[cYes], u"&Yes") << c.name;
        EXPECT_EQ(forms.imported.size(), c.formsApplied ? 1u : 0u) << c.name;
    }
}

TEST(LanguageFileImport, StringsOnlyWhenAsked) {
    platform::MemoryFileSystem files;
    files.files[kPath] =
        "<APPLICATION><STRINGS><STRING><ITEM ID=\"cno\" VALUE=\"Nein\"/></STRING></STRINGS>"
        "</APPLICATION>";
    StringRun run;
    EXPECT_TRUE(ImportLanguageFile(run.Scope(files), kPath, false));
    EXPECT_EQ(run.strings[cNo], u"&No");
    EXPECT_TRUE(ImportLanguageFile(run.Scope(files), kPath, true));
    EXPECT_EQ(run.strings[cNo], u"Nein");
}

TEST(LanguageFileImport, OversizedFileIsNotRead) {
    platform::MemoryFileSystem files;
    std::string content = "<APPLICATION><STRINGS><STRING><ITEM ID=\"cno\" VALUE=\"Nein\"/>";
    content.resize(kMaxLanguageFileSize + 1, ' ');
    files.files[kPath] = content;
    StringRun run;
    EXPECT_FALSE(ImportLanguageFile(run.Scope(files), kPath, true));
    EXPECT_EQ(run.strings[cNo], u"&No");
}

TEST(LanguageFileExport, CreatesMissingFolders) {
    platform::MemoryFileSystem files(platform::MemoryFileSystem::Folders::kMustBeCreated);
    StringRun run;
    EXPECT_TRUE(ExportLanguageFile(run.Scope(files), "C:\\New\\Lang\\setup.lng", true));
    EXPECT_TRUE(files.FileExists("C:\\New\\Lang\\setup.lng"));
    EXPECT_EQ(files.files.size(), 1u);
}

// A translator's file survives an export that cannot be completed.
TEST(LanguageFileExport, FailedWriteLeavesTheEarlierFile) {
    for (const bool failMoves : {false, true}) {
        platform::MemoryFileSystem files;
        files.files[kPath] = "translated";
        platform::FaultyFileSystem faulty(files);
        if (failMoves) {
            faulty.Inject(platform::FileOperation::kMoveTo);
        } else {
            faulty.FillTheDisk();
        }
        StringRun run;
        EXPECT_FALSE(ExportLanguageFile(run.Scope(faulty), kPath, true)) << failMoves;
        EXPECT_EQ(files.files[kPath], "translated") << failMoves;
        EXPECT_EQ(files.files.size(), 1u) << failMoves;
    }
}

TEST(LanguageFileExport, WithoutStringsOnlyTheForms) {
    platform::MemoryFileSystem files;
    StringRun run;
    RecordingForms forms;
    EXPECT_TRUE(ExportLanguageFile(run.Scope(files, &forms), kPath, false));
    EXPECT_EQ(files.files[kPath],
              "<APPLICATION><FORMS FONT=\"Tahoma\" FONTSIZE=\"8\"><FORM ID=\"TMainForm\" "
              "CAPTION=\"Setup\"/>\r\n</FORMS>\r\n</APPLICATION>\r\n");
}

}  // namespace
}  // namespace tolva::i18n

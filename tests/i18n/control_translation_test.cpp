#include "i18n/control_translation.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "forms_test_support.h"
#include "language_test_support.h"
#include "platform/fake/memory_file_system.h"

namespace tolva::i18n {
namespace {

using test::FormsRun;
using test::State;

// The ITEM children of one exported FORM, by ID, and their order.
struct ExportedItems {
    std::map<std::string, std::string> byId;
    std::vector<std::string> order;
};

ExportedItems ItemsOfForm(FormsRun& run, std::string_view formClass) {
    util::TXMLObject document(run.system);
    document.ParseXML(run.Exported());
    ExportedItems items;
    for (const auto& form : document.Children.front()->Children) {
        if (form->GetAttribute("ID", util::xcNone) != formClass) {
            continue;
        }
        for (const auto& item : form->Children) {
            const std::string id = item->GetAttribute("ID", util::xcNone);
            items.byId[id] = item->ToXML(false, false);
            items.order.push_back(id);
        }
    }
    return items;
}

TEST(ControlTranslationExport, ClassRules) {
    const struct {
        const char* name;
        const char* item;  // nullptr: no ITEM
    } cases[] = {
        {"Label", R"(<ITEM ID="Label" CLASS="tlabel" CAPTION="&amp;Name:" HINT="Your name"/>)"},
        {"Radio", R"(<ITEM ID="Radio" CLASS="tradiobutton" CAPTION="&amp;Basic"/>)"},
        {"Button",
         R"(<ITEM ID="Button" CLASS="tbutton" CAPTION="&amp;Help" HINT="Opens the help"/>)"},
        {"Check", R"(<ITEM ID="Check" CLASS="tcheckbox" CAPTION="&amp;Agree"/>)"},
        {"Sheet", R"(<ITEM ID="Sheet" CLASS="ttabsheet" CAPTION="General"/>)"},
        {"Group", R"(<ITEM ID="Group" CLASS="tgroupbox" CAPTION="Options"/>)"},
        {"Panel", R"(<ITEM ID="Panel" CLASS="tpanel" CAPTION="Panel text"/>)"},
        {"MenuItem", R"(<ITEM ID="MenuItem" CLASS="tmenuitem" CAPTION="&amp;File"/>)"},
        {"Combo",
         "<ITEM ID=\"Combo\" CLASS=\"tcombobox\" CAPTION=\"Red\r\nGreen\r\nBlue\" "
         "HINT=\"Colour\"/>"},
        {"List", "<ITEM ID=\"List\" CLASS=\"tlistbox\" CAPTION=\"one\r\ntwo\"/>"},
        {"CheckList",
         "<ITEM ID=\"CheckList\" CLASS=\"tchecklistbox\" CAPTION=\"Red\r\nGreen\r\nBlue\"/>"},
        {"Columns",
         "<ITEM ID=\"Columns\" CLASS=\"textlistviewmanagement\" "
         "CAPTION=\"Name\r\nSize\r\nDate\"/>"},
        {"ListView", nullptr},
        {"WideLabel",
         R"(<ITEM ID="WideLabel" CLASS="ttntlabel" CAPTION="Wide label" HINT="Wide hint"/>)"},
        {"WideRadio", R"(<ITEM ID="WideRadio" CLASS="ttntradiobutton" CAPTION="&amp;Advanced"/>)"},
        {"WideMenuItem", R"(<ITEM ID="WideMenuItem" CLASS="ttntmenuitem" CAPTION="&amp;Edit"/>)"},
        {"WideButton", R"(<ITEM ID="WideButton" CLASS="ttntbutton" CAPTION="&amp;Next &gt;"/>)"},
        {"WideCheck", R"(<ITEM ID="WideCheck" CLASS="ttntcheckbox" CAPTION="&amp;Remember"/>)"},
        {"WideSheet", R"(<ITEM ID="WideSheet" CLASS="ttnttabsheet" CAPTION="Details"/>)"},
        {"WideGroup", R"(<ITEM ID="WideGroup" CLASS="ttntgroupbox" CAPTION="Server"/>)"},
        {"WidePanel", R"(<ITEM ID="WidePanel" CLASS="ttntpanel" CAPTION="Status"/>)"},
        {"WideCombo",
         "<ITEM ID=\"WideCombo\" CLASS=\"ttntcombobox\" CAPTION=\"Red\r\nGreen\r\nBlue\"/>"},
        {"WideList",
         "<ITEM ID=\"WideList\" CLASS=\"ttntlistbox\" CAPTION=\"Red\r\nGreen\r\nBlue\"/>"},
        {"WideCheckList",
         "<ITEM ID=\"WideCheckList\" CLASS=\"ttntchecklistbox\" "
         "CAPTION=\"Red\r\nGreen\r\nBlue\"/>"},
        {"EmptyLabel", nullptr},
        {"HintOnly", R"(<ITEM ID="HintOnly" CLASS="ttntlabel" HINT="Only a hint"/>)"},
        {"Edit", nullptr},
        {"Memo", nullptr},
        {"Tree", nullptr},
        {"Picture", nullptr},
        {"Progress", nullptr},
        {"BitButton", nullptr},
        {"StaticText", nullptr},
        {"Drives", nullptr},
        {"Folders", nullptr},
    };
    FormsRun run;
    const ExportedItems items = ItemsOfForm(run, "TTranslationSample");
    std::vector<std::string> order;
    for (const auto& c : cases) {
        const auto found = items.byId.find(c.name);
        if (c.item == nullptr) {
            EXPECT_EQ(found, items.byId.end()) << c.name;
            continue;
        }
        order.push_back(c.name);
        ASSERT_NE(found, items.byId.end()) << c.name;
        EXPECT_EQ(found->second, c.item) << c.name;
    }
    EXPECT_EQ(items.order, order) << "ITEMs follow the ownership order";
}

TEST(ControlTranslationExport, FormsInCreationOrderWithTheFontOfTheLast) {
    FormsRun run;
    run.dialog.SetCaption(u"\u042F\u0437\u044B\u043A");
    run.sample.SetCaption(u"Caf\u00E9 & \u0414");  // a plain form holds what the code page can
    ui::Form unnamed(run.application, "TUnnamed", "");
    unnamed.SetFont(u"Arial", 10);
    unnamed.SetCaption(u"Not written");

    const std::string exported = run.Exported();
    EXPECT_EQ(exported.substr(0, exported.find("<ITEM")),
              "<FORMS FONT=\"Arial\" FONTSIZE=\"10\"><FORM ID=\"TTranslationSample\" "
              "CAPTION=\"Caf\xC3\xA9 &amp; ?\">");
    EXPECT_NE(
        exported.find("<FORM ID=\"TLangSelectForm\" CAPTION=\"\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA\">"),
        std::string::npos);
    EXPECT_LT(exported.find("TTranslationSample"), exported.find("TLangSelectForm"));
    EXPECT_EQ(exported.find("TUnnamed"), std::string::npos);
}

TEST(ControlTranslationImport, ClassRules) {
    const std::string cyrillic = "\xD0\x94\xD0\xB0";  // "Да"
    const struct {
        const char* name;
        std::string item;
        std::optional<std::string> state;  // none: the component stays as designed
    } cases[] = {
        {"Label", R"(<ITEM CLASS="tlabel" CAPTION="&amp;Nom :" HINT="Votre nom"/>)",
         "text=&Nom : hint=Votre nom"},
        {"WideLabel", "<ITEM CLASS=\"ttntlabel\" CAPTION=\"" + cyrillic + "\"/>",
         "text=" + cyrillic + " hint="},
        // 8-bit components hold what the ANSI code page can say; Unicode ones hold any text,
        // also when the file names a related 8-bit class.
        {"Label", "<ITEM CLASS=\"tlabel\" CAPTION=\"" + cyrillic + "\"/>", "text=?? hint="},
        {"WideLabel", "<ITEM CLASS=\"tlabel\" CAPTION=\"" + cyrillic + "\"/>",
         "text=" + cyrillic + " hint="},
        {"Panel", R"(<ITEM CLASS="tpanel" CAPTION="  Feld  "/>)", "text=  Feld   hint="},
        {"WideMenuItem", R"(<ITEM CLASS="ttntmenuitem" CAPTION="&amp;Bearbeiten"/>)",
         "text=&Bearbeiten hint="},
        {"Button", "<ITEM CLASS=\"tbutton\" CAPTION=\"Hilfe\" HINT=\"a &lt;b&gt;\r\nc\"/>",
         "text=Hilfe hint=a <b>\r\nc"},
        // Combo boxes keep the chosen position; an editable one shows the item there and keeps
        // its text when the list has no such position.
        {"Combo", "<ITEM CLASS=\"tcombobox\" CAPTION=\"Rot\r\nGr\xC3\xBCn\r\nBlau\"/>",
         "text=Gr\xC3\xBCn hint= items=Rot|Gr\xC3\xBCn|Blau| index=1"},
        {"Combo", R"(<ITEM CLASS="tcombobox" CAPTION="Rot" HINT="Farbe"/>)",
         "text=Green hint=Farbe items=Rot| index=-1"},
        {"WideCombo", "<ITEM CLASS=\"ttntcombobox\" ITEMSTEXT=\"Rot\nGr\xC3\xBCn\rBlau\r\n\"/>",
         "text=Blau hint= items=Rot|Gr\xC3\xBCn|Blau| index=2"},
        {"CheckList", "<ITEM CLASS=\"tchecklistbox\" CAPTION=\"A\r\nB\r\nC\"/>",
         "text= hint= items=A+|B-|C+| index=1"},
        {"WideCheckList", "<ITEM CLASS=\"ttntchecklistbox\" CAPTION=\"A\r\nB\r\nC\r\nD\"/>",
         "text= hint= items=A+|B-|C+|D| index=1"},
        {"CheckList", "<ITEM CLASS=\"tchecklistbox\" CAPTION=\"A\"/>",
         "text= hint= items=A+| index=-1"},
        // A check list named as a plain list keeps its states all the same.
        {"CheckList", "<ITEM CLASS=\"tlistbox\" CAPTION=\"A\r\nB\r\nC\"/>",
         "text= hint= items=A+|B-|C+| index=1"},
        {"Columns",
         "<ITEM CLASS=\"textlistviewmanagement\" CAPTION=\"Name\r\n\r\n  Gr\xC3\xB6\xC3\x9F"
         "e \nDatum\nExtra\"/>",
         "text= hint= columns=Name|Gr\xC3\xB6\xC3\x9F"
         "e|Datum|"},
        {"Columns", R"(<ITEM CLASS="textlistviewmanagement" CAPTION="Name" HINT="Spalten"/>)",
         "text= hint=Spalten columns=Name|Size|Date|"},
        {"ListView", "<ITEM CLASS=\"tcustomlistview\" CAPTION=\"Konto\r\nDom\xC3\xA4ne\"/>",
         "text= hint= columns=Konto|Dom\xC3\xA4ne|"},
        {"Columns", "<ITEM CLASS=\"tcustomlistview\" CAPTION=\"A\r\nB\r\nC\"/>",
         "text= hint= columns=A|B|C|"},
        // Rules whose text goes elsewhere, classes without a rule, class names not in lower case.
        {"Label", R"(<ITEM CLASS="tcombobox" CAPTION="x"/>)", std::nullopt},
        {"Combo", R"(<ITEM CLASS="tlabel" CAPTION="x"/>)", std::nullopt},
        {"Combo", R"(<ITEM CLASS="tcustomlistview" CAPTION="x"/>)", std::nullopt},
        {"ListView", R"(<ITEM CLASS="tlistbox" CAPTION="x"/>)", std::nullopt},
        {"Edit", R"(<ITEM CLASS="tlabel" CAPTION="x"/>)", std::nullopt},
        {"Edit", R"(<ITEM CLASS="tedit" CAPTION="x"/>)", std::nullopt},
        {"BitButton", R"(<ITEM CLASS="tbutton" CAPTION="x"/>)", std::nullopt},
        {"Drives", R"(<ITEM CLASS="tcombobox" CAPTION="x"/>)", std::nullopt},
        {"Folders", R"(<ITEM CLASS="tlistbox" CAPTION="x"/>)", std::nullopt},
        {"Label", R"(<ITEM CLASS="TLabel" CAPTION="x"/>)", std::nullopt},
        {"Label", R"(<ITEM CAPTION="x"/>)", std::nullopt},
    };
    for (const auto& c : cases) {
        FormsRun run;
        const ui::Component& component = *run.sample.Find(c.name);
        const std::string designed = State(component);
        util::TXMLObject item(run.system);
        item.ParseXML(c.item);
        ImportComponent(*run.sample.Find(c.name), *item.Children.front());
        EXPECT_EQ(State(component), c.state.value_or(designed)) << c.name << " " << c.item;
    }
}

TEST(ControlTranslationImport, FormsAreFoundByTheirExactClassName) {
    FormsRun run;
    run.Import(
        "<FORMS FONT=\"Arial\" FONTSIZE=\"10\">"
        "<FORM ID=\"tlangselectform\" CAPTION=\"wrong case\"/>"
        "<FORM ID=\"TNoSuchForm\" CAPTION=\"x\"><ITEM ID=\"Label\" CLASS=\"tlabel\" "
        "CAPTION=\"x\"/></FORM>"
        "<WINDOW ID=\"TTranslationSample\"><ITEM ID=\"Nobody\" CLASS=\"tlabel\" CAPTION=\"x\"/>"
        "<ITEM ID=\"label\" CLASS=\"tlabel\" CAPTION=\"x\"/>"
        "<ITEM ID=\"Label\" CLASS=\"tlabel\" CAPTION=\"Nom\"/></WINDOW></FORMS>");
    EXPECT_EQ(run.dialog.Caption(), u"Installer Language");
    EXPECT_EQ(run.dialog.FontName(), u"Tahoma") << "a form the file does not name keeps its font";
    EXPECT_EQ(run.dialog.FontSize(), 8);
    EXPECT_EQ(run.sample.Caption(), u"") << "a FORM without CAPTION empties the caption";
    EXPECT_EQ(run.sample.FontName(), u"Arial");
    EXPECT_EQ(run.sample.FontSize(), 10);
    EXPECT_EQ(run.sample.Find("Label")->Text(), u"Nom");
    EXPECT_EQ(run.sample.Find("Label")->Hint(), u"");
}

TEST(ControlTranslationImport, Fonts) {
    const struct {
        std::string attributes;
        std::u16string name;
        int size;
    } cases[] = {
        {R"(FONT="Arial" FONTSIZE="10")", u"Arial", 10},
        {R"(FONTSIZE="12")", u"MS Sans Serif", 12},
        {R"(FONT="Arial")", u"Arial", 9},
        {R"(FONT="Arial" FONTSIZE="abc")", u"Arial", 9},
        {R"(FONT="Arial" FONTSIZE="11pt")", u"Arial", 11},
        {R"(FONT="Arial" FONTSIZE="0")", u"Arial", 9},
        {R"(FONT="Arial" FONTSIZE="-8")", u"Arial", 9},
        {R"(FONT="Arial" FONTSIZE="72")", u"Arial", 72},
        {R"(FONT="Arial" FONTSIZE="73")", u"Arial", 9},
        {R"(FONT="Arial" FONTSIZE="99999999999999")", u"Arial", 9},
        {"FONT=\"\xD0\x90 Font\"", u"\u0410 Font", 9},
        {"", u"MS Sans Serif", 9},
    };
    for (const auto& c : cases) {
        FormsRun run;
        run.Import("<FORMS " + c.attributes + "><FORM ID=\"TTranslationSample\"/></FORMS>");
        EXPECT_EQ(run.sample.FontName(), c.name) << c.attributes;
        EXPECT_EQ(run.sample.FontSize(), c.size) << c.attributes;
    }
}

// A form without Unicode texts reads its caption as 8-bit text: numeric references are bytes of
// the code page, and what the code page lacks is lost.
TEST(ControlTranslationImport, CaptionsOfPlainAndUnicodeForms) {
    const struct {
        std::string caption;
        std::u16string plain;
        std::u16string unicode;
    } cases[] = {
        {"Caf\xC3\xA9 &amp; Co", u"Caf\u00E9 & Co", u"Caf\u00E9 & Co"},
        {"Caf&#233;", u"Caf\u00E9", u"Caf"},
        {"\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA", u"????", u"\u042F\u0437\u044B\u043A"},
    };
    for (const auto& c : cases) {
        FormsRun run;
        run.Import("<FORMS><FORM ID=\"TTranslationSample\" CAPTION=\"" + c.caption +
                   "\"/><FORM ID=\"TLangSelectForm\" CAPTION=\"" + c.caption + "\"/></FORMS>");
        EXPECT_EQ(run.sample.Caption(), c.plain) << c.caption;
        EXPECT_EQ(run.dialog.Caption(), c.unicode) << c.caption;
    }
}

// The English forms written and read back show the same texts, but for the ends that the
// trimming rules remove; a second export is the same file.
TEST(ControlTranslation, EnglishFileReadBackChangesOnlyTrimmedEnds) {
    FormsRun run;
    std::map<std::string, std::string> designed;
    for (const auto& component : run.sample.Components()) {
        designed[component->Name()] = State(*component);
    }
    designed["Panel"] = "text=Panel text hint=";
    designed["WidePanel"] = "text=Status hint=";
    designed["List"] = "text= hint= items=one|two| index=-1";

    platform::MemoryFileSystem files;
    test::StringRun strings;
    ASSERT_TRUE(ExportLanguageFile(strings.Scope(files, &run.translation), "C:\\setup.lng", true));
    const std::string first = files.files["C:\\setup.lng"];
    ASSERT_TRUE(ImportLanguageFile(strings.Scope(files, &run.translation), "C:\\setup.lng", true));
    for (const auto& component : run.sample.Components()) {
        EXPECT_EQ(State(*component), designed[component->Name()]) << component->Name();
    }
    EXPECT_EQ(run.sample.Caption(), u"Translation Sample");
    EXPECT_EQ(run.dialog.Caption(), u"Installer Language");
    ASSERT_TRUE(ExportLanguageFile(strings.Scope(files, &run.translation), "C:\\setup.lng", true));
    EXPECT_EQ(files.files["C:\\setup.lng"], first);
}

// Whatever a file's FORMS section holds, what is valid of it is applied, each control as a whole.
TEST(ControlTranslationImport, BadInput) {
    const std::string caption = R"(<FORM ID="TLangSelectForm" CAPTION="Sprache">)";
    const std::string label = R"(<ITEM ID="SelectLangL" CLASS="ttntlabel" CAPTION="Bitte"/>)";
    const std::string ok = R"(<ITEM ID="OKButton" CLASS="ttntbutton" CAPTION="&amp;Gut"/>)";
    const std::u16string englishLabel = u"Please select a language.";
    const struct {
        std::string name;
        std::string file;
        std::u16string caption;
        std::u16string label;
        std::u16string ok;
        int fontSize;
    } cases[] = {
        {"not XML", "Keine Sprachdatei \xFF", u"Installer Language", englishLabel, u"&OK", 8},
        {"no FORMS", "<APPLICATION><STRINGS/></APPLICATION>", u"Installer Language", englishLabel,
         u"&OK", 8},
        {"cut short inside an ITEM",
         "<APPLICATION><FORMS>" + caption + R"(<ITEM ID="SelectLangL" CLASS="ttntlabel" CAP)",
         u"Sprache", englishLabel, u"&OK", 8},
        {"cut short inside a value",
         "<APPLICATION><FORMS>" + caption + label +
             R"(<ITEM ID="OKButton" CLASS="ttntbutton" CAPTION="&amp;G)",
         u"Sprache", u"Bitte", u"&OK", 8},
        {"unknown forms and components",
         "<APPLICATION><FORMS><FORM ID=\"TMissing\">" + label + "</FORM>" + caption +
             R"(<ITEM ID="Missing" CLASS="ttntlabel" CAPTION="x"/>)" + ok +
             "</FORM></FORMS></APPLICATION>",
         u"Sprache", englishLabel, u"&Gut", 8},
        {"wrong CLASS",
         "<APPLICATION><FORMS>" + caption +
             R"(<ITEM ID="SelectLangL" CLASS="ttntcombobox" CAPTION="x"/>)" + ok +
             "</FORM></FORMS></APPLICATION>",
         u"Sprache", englishLabel, u"&Gut", 8},
        {"FONTSIZE without digits",
         R"(<APPLICATION><FORMS FONTSIZE="groß">)" + caption + label +
             "</FORM></FORMS></APPLICATION>",
         u"Sprache", u"Bitte", u"&OK", 8},
        {"overlong ID",
         "<APPLICATION><FORMS>" + caption + "<ITEM ID=\"SelectLangL" + std::string(300, 'x') +
             "\" CLASS=\"ttntlabel\" CAPTION=\"x\"/>" + ok + "</FORM></FORMS></APPLICATION>",
         u"Sprache", englishLabel, u"&Gut", 8},
        {"invalid UTF-8",
         "<APPLICATION><FORMS><FORM ID=\"TLangSelectForm\" CAPTION=\"\xC3\">" + ok +
             "</FORM></FORMS></APPLICATION>",
         u"", englishLabel, u"&Gut", 8},
        {"no ID",
         "<APPLICATION><FORMS><FORM CAPTION=\"x\">" + label + "</FORM></FORMS></APPLICATION>",
         u"Installer Language", englishLabel, u"&OK", 8},
    };
    for (const auto& c : cases) {
        FormsRun run;
        const std::string designedCombo = State(*run.sample.Find("Combo"));
        platform::MemoryFileSystem files;
        files.files["C:\\setup.lng"] = c.file;
        test::StringRun strings;
        EXPECT_TRUE(
            ImportLanguageFile(strings.Scope(files, &run.translation), "C:\\setup.lng", true))
            << c.name;
        EXPECT_EQ(run.dialog.Caption(), c.caption) << c.name;
        EXPECT_EQ(run.dialog.SelectLangL->Text(), c.label) << c.name;
        EXPECT_EQ(run.dialog.OKButton->Text(), c.ok) << c.name;
        EXPECT_EQ(run.dialog.FontSize(), c.fontSize) << c.name;
        EXPECT_EQ(State(*run.sample.Find("Combo")), designedCombo) << c.name;
    }
}

}  // namespace
}  // namespace tolva::i18n

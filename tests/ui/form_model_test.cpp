// The forms model: kinds of classes, ownership and z-order, properties and their notifications.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fake/fake_system.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/headless_display.h"

namespace tolva::ui {
namespace {

using ::testing::ElementsAre;

struct Recorder : FormObserver {
    std::vector<std::pair<std::string, Property>> changes;
    void ComponentChanged(Component& component, Property property) override {
        changes.emplace_back(component.Name(), property);
    }
    void FormChanged(FormProperty) override {}
    void FocusChanged(Component*) override {}
    Point PointerPosition(const Component&) const override { return {}; }
    int NodeAt(const Component&, Point) const override { return -1; }
};

class FormModelTest : public ::testing::Test {
protected:
    HeadlessDisplay display;
    Application application{display};
    Form form{application, "TTestForm", "TestForm"};

    Component& Add(const char* className, const char* name, Component* parent = nullptr,
                   Bounds bounds = {}) {
        return form.Add({.className = className, .name = name, .parent = parent, .bounds = bounds});
    }
};

TEST(ComponentKindTest, ClassNamesOfTheLanguageFiles) {
    struct Case {
        const char* className;
        std::optional<Kind> kind;
        bool wide;
    } cases[] = {
        {"TLabel", Kind::kLabel, false},
        {"TTntLabel", Kind::kLabel, true},
        {"TButton", Kind::kButton, false},
        {"TTntCheckBox", Kind::kCheckBox, true},
        {"TRadioButton", Kind::kRadioButton, false},
        {"TGroupBox", Kind::kGroupBox, false},
        {"TTntPanel", Kind::kPanel, true},
        {"TComboBox", Kind::kComboBox, false},
        {"TDriveComboBox", Kind::kComboBox, false},
        {"TDirectoryListBox", Kind::kListBox, false},
        {"TTntCheckListBox", Kind::kCheckListBox, true},
        {"TExtListViewManagement", Kind::kListView, false},
        {"TTntMemo", Kind::kMemo, true},
        {"TTreeView", Kind::kTreeView, false},
        {"TMenuItem", Kind::kMenuItem, false},
        {"tlabel", std::nullopt, false},  // class names are exact
        {"TFancyWidget", std::nullopt, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KindOfClass(c.className), c.kind) << c.className;
        EXPECT_EQ(HoldsWideText(c.className), c.wide) << c.className;
    }
}

TEST_F(FormModelTest, ComponentsKeepOwnershipOrderAndAreFoundByExactName) {
    auto& panel = Add("TPanel", "Page");
    Add("TLabel", "Title", &panel);
    Add("TButton", "NextButton");
    form.Add(
        {.className = "TFancyWidget", .name = "Fancy", .kind = Kind::kPanel, .kindGiven = true});

    std::vector<std::string> names;
    for (const auto& component : form.Components()) {
        names.push_back(component->Name());
    }
    EXPECT_THAT(names, ElementsAre("Page", "Title", "NextButton", "Fancy"));
    EXPECT_EQ(form.Find("Title")->Parent(), &panel);
    EXPECT_EQ(form.Find("title"), nullptr);
    EXPECT_EQ(form.Find("Fancy")->GetKind(), Kind::kPanel);
    EXPECT_EQ(form.Find("Fancy")->ClassName(), "TFancyWidget");
}

TEST_F(FormModelTest, BringToFrontAndSendToBackReorderSiblings) {
    auto& first = Add("TPanel", "First");
    auto& second = Add("TPanel", "Second");
    auto& third = Add("TPanel", "Third");
    EXPECT_THAT(form.Children(nullptr), ElementsAre(&first, &second, &third));
    first.BringToFront();
    EXPECT_THAT(form.Children(nullptr), ElementsAre(&second, &third, &first));
    third.SendToBack();
    EXPECT_THAT(form.Children(nullptr), ElementsAre(&third, &second, &first));
}

TEST_F(FormModelTest, CheckingARadioButtonUnchecksOnlyItsSiblings) {
    auto& groupA = Add("TGroupBox", "GroupA");
    auto& groupB = Add("TGroupBox", "GroupB");
    auto& a1 = Add("TRadioButton", "A1", &groupA);
    auto& a2 = Add("TRadioButton", "A2", &groupA);
    auto& b1 = Add("TRadioButton", "B1", &groupB);
    auto& box = Add("TCheckBox", "Box", &groupA);
    a1.SetChecked(true);
    b1.SetChecked(true);
    box.SetChecked(true);
    a2.SetChecked(true);
    EXPECT_FALSE(a1.Checked());
    EXPECT_TRUE(a2.Checked());
    EXPECT_TRUE(b1.Checked());
    EXPECT_TRUE(box.Checked());
}

TEST_F(FormModelTest, ItemListAsTextSplitsAtEveryKindOfLineBreak) {
    auto& list = Add("TComboBox", "List");
    struct Case {
        std::u16string text;
        std::vector<std::u16string> items;
    } cases[] = {
        {u"a\r\nb\r\nc\r\n", {u"a", u"b", u"c"}},
        {u"a\rb\nc", {u"a", u"b", u"c"}},
        {u"a\n\nb", {u"a", u"", u"b"}},
        {u"", {}},
        {u"\r\n", {u""}},
    };
    for (const auto& c : cases) {
        list.SetItemsText(c.text);
        std::vector<std::u16string> items;
        for (const auto& item : list.Items()) {
            items.push_back(item.text);
        }
        EXPECT_EQ(items, c.items) << std::string(c.text.begin(), c.text.end());
    }
    list.SetItems({u"one", u"two"});
    EXPECT_EQ(list.ItemsText(), u"one\r\ntwo\r\n");
}

TEST_F(FormModelTest, ReplacingItemsClearsSelectionAndStates) {
    auto& list = Add("TCheckListBox", "Options");
    list.SetItems({u"a", u"b"});
    list.SetItemIndex(1);
    list.SetItemChecked(0, true);
    list.SetItemEnabled(1, false);
    list.SetItems({u"x", u"y", u"z"});
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_FALSE(list.Items()[0].checked);
    EXPECT_TRUE(list.Items()[1].enabled);
    list.SetItemIndex(3);
    EXPECT_EQ(list.ItemIndex(), -1);
}

TEST_F(FormModelTest, TreeNodesStayInDepthFirstOrder) {
    auto& tree = Add("TTreeView", "Tree");
    int core = tree.AddNode(-1, u"Services", 0);
    int admin = tree.AddNode(-1, u"Administration", 12);
    int modules = tree.AddNode(-1, u"Modules", 13);
    tree.AddNode(modules, u"Webmail", 4);
    tree.SetSelectedNode(modules);
    // Added after Modules and its child, but belongs under Administration.
    tree.AddNode(admin, u"Desktop icon", 2);
    tree.AddNode(core, u"Core files", 20);

    std::vector<std::u16string> order;
    std::vector<int> parents;
    for (const auto& node : tree.Nodes()) {
        order.push_back(node.text);
        parents.push_back(node.parent);
    }
    EXPECT_THAT(order, ElementsAre(u"Services", u"Core files", u"Administration", u"Desktop icon",
                                   u"Modules", u"Webmail"));
    EXPECT_THAT(parents, ElementsAre(-1, 0, -1, 2, -1, 4));
    EXPECT_EQ(tree.Nodes()[tree.SelectedNode()].text, u"Modules");
    EXPECT_EQ(tree.FindNodeByData(2), 3);
    EXPECT_THAT(tree.NodeChildren(2), ElementsAre(3));
    EXPECT_FALSE(tree.NodeShown(3));
    tree.FullExpand();
    EXPECT_TRUE(tree.NodeShown(3));
}

TEST(CaptionTest, AcceleratorsAreMarkedWithAmpersands) {
    struct Case {
        std::u16string caption;
        std::u16string shown;
        char16_t mnemonic;
    } cases[] = {
        {u"&Next >", u"Next >", u'n'},
        {u"< &Back", u"< Back", u'b'},
        {u"Dr&ives:", u"Drives:", u'i'},
        {u"Tom && Jerry", u"Tom & Jerry", 0},
        {u"&&&Save", u"&Save", u's'},
        {u"Trailing&", u"Trailing", 0},
        {u"No marks", u"No marks", 0},
        // Letters of other alphabets match whatever case is typed.
        {u"&\u041D\u0435\u0442", u"\u041D\u0435\u0442", u'\u043D'},
        {u"&\u00DCbernehmen", u"\u00DCbernehmen", u'\u00FC'},
        {u"&\u0401\u0436", u"\u0401\u0436", u'\u0451'},
    };
    for (const auto& c : cases) {
        std::string label(c.caption.begin(), c.caption.end());
        EXPECT_EQ(DisplayedCaption(c.caption), c.shown) << label;
        EXPECT_EQ(MnemonicOf(c.caption), c.mnemonic) << label;
    }
}

TEST_F(FormModelTest, FontsAndColoursComeFromTheNearestSetting) {
    form.SetFont(u"MS Shell Dlg 2", 8);
    auto& header = Add("TPanel", "Header");
    header.SetColour(kColourWhite);
    header.SetFont({.size = 10, .colour = kColourNavy});
    auto& title = Add("TLabel", "Title", &header);
    title.SetFont({.bold = true});
    auto& body = Add("TLabel", "Body");

    FontSpec font = form.EffectiveFont(title);
    EXPECT_EQ(font.name, u"MS Shell Dlg 2");
    EXPECT_EQ(font.size, 10);
    EXPECT_TRUE(font.bold);
    EXPECT_EQ(font.colour, kColourNavy);
    EXPECT_EQ(form.EffectiveColour(title), kColourWhite);
    EXPECT_EQ(form.EffectiveFont(body).size, 8);
    EXPECT_EQ(form.EffectiveColour(body), kColourButtonFace);
}

TEST_F(FormModelTest, ProgressStaysInRangeAndStepsWrap) {
    auto& bar = Add("TProgressBar", "Progress");
    bar.SetRange(0, 12);
    bar.SetStep(5);
    bar.SetPosition(20);
    EXPECT_EQ(bar.Position(), 12);
    bar.SetPosition(10);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 3);
    bar.SetRange(0, 2);
    EXPECT_EQ(bar.Position(), 2);
}

TEST_F(FormModelTest, RenderersHearOfEveryChangeOnce) {
    Recorder recorder;
    form.SetObserver(&recorder);
    auto& edit = Add("TEdit", "Edit");
    edit.SetText(u"abc");
    edit.SetText(u"abc");
    edit.SetEnabled(false);
    edit.SetEnabled(false);
    edit.SetSelection(1, 10);
    EXPECT_EQ(edit.SelLength(), 2);
    EXPECT_THAT(recorder.changes,
                ElementsAre(std::pair<std::string, Property>{"Edit", Property::kText},
                            std::pair<std::string, Property>{"Edit", Property::kEnabled},
                            std::pair<std::string, Property>{"Edit", Property::kSelection}));
    form.SetObserver(nullptr);
}

TEST(CodePageTest, EightBitComponentsHoldWhatTheAnsiCodePageCanSay) {
    platform::FakeSystem windows1252;
    HeadlessDisplay display;
    Application application{display, &windows1252};
    Form plain{application, "TPlainForm", "PlainForm"};
    plain.SetUnicodeTexts(false);
    const std::u16string text = u"Grüße Мир €";
    const std::u16string ansi = u"Grüße ??? €";

    auto& label = plain.Add({.className = "TLabel", .name = "Label", .text = text});
    auto& wide = plain.Add({.className = "TTntLabel", .name = "Wide", .text = text});
    auto& list = plain.Add({.className = "TComboBox", .name = "List"});
    auto& tree = plain.Add({.className = "TTreeView", .name = "Tree"});
    label.SetHint(text);
    wide.SetHint(text);
    list.SetItemsText(text + u"\r\n" + text);
    tree.AddNode(-1, text);
    plain.SetCaption(text);

    EXPECT_EQ(label.Text(), ansi);
    EXPECT_EQ(label.Hint(), ansi);
    EXPECT_EQ(wide.Text(), text);
    EXPECT_EQ(wide.Hint(), text);
    EXPECT_EQ(list.ItemsText(), ansi + u"\r\n" + ansi + u"\r\n");
    EXPECT_EQ(tree.Nodes()[0].text, ansi);
    EXPECT_EQ(plain.Caption(), ansi);

    Form unicode{application, "TUnicodeForm", "UnicodeForm"};
    unicode.SetCaption(text);
    EXPECT_EQ(unicode.Caption(), text);
}

TEST(ApplicationTest, FormsInCreationOrderFoundByExactClassName) {
    HeadlessDisplay display;
    Application application{display};
    Form main{application, "TMainForm", "MainForm"};
    auto browser = std::make_unique<Form>(application, "TBrowseFolder", "BrowseFolder");
    Form database{application, "TODBCForm", "ODBCForm"};
    EXPECT_THAT(application.Forms(), ElementsAre(&main, browser.get(), &database));
    EXPECT_EQ(application.MainForm(), &main);
    EXPECT_EQ(application.FindFormByClass("TODBCForm"), &database);
    EXPECT_EQ(application.FindFormByClass("tmainform"), nullptr);
    browser.reset();
    EXPECT_THAT(application.Forms(), ElementsAre(&main, &database));
}

TEST(ApplicationTest, ErrorsEscapingHandlersAreDiscarded) {
    HeadlessDisplay display;
    Application application{display};
    Form form{application, "TMainForm", "MainForm"};
    auto& button = form.Add({.className = "TButton", .name = "Go"});
    int runs = 0;
    button.events.click = [&](Component&) {
        ++runs;
        throw std::runtime_error("handler failed");
    };
    form.Show();
    EXPECT_TRUE(display.Click(form, "Go"));
    std::vector<std::string> heard;
    application.SetHandlerErrorSink([&](std::string_view what) { heard.emplace_back(what); });
    EXPECT_TRUE(display.Click(form, "Go"));
    EXPECT_EQ(runs, 2);
    EXPECT_THAT(heard, ElementsAre("handler failed"));
}

}  // namespace
}  // namespace tolva::ui

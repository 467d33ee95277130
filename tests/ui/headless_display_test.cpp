// The headless display: what a user sees, the actions a user could not take, modal dialogs,
// typing, choosing, tree clicks and letting pending messages run.

#include <gmock/gmock.h>

#include "sample_fixture.h"

namespace tolva::ui::sample {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

using HeadlessDisplayTest = SampleFixture;

TEST_F(HeadlessDisplayTest, ShowsWhatTheUserSees) {
    EXPECT_EQ(Describe(form),
              "form TSampleForm \"Tolva Sample Form\"\n"
              "label HeaderLabel \"Every Kind of Control\"\n"
              "label SubLabel \"Drive it with the mouse and the keyboard; the tests read it "
              "back.\"\n"
              "image LogoImage\n"
              "group DetailsGroup \"User Details\"\n"
              "label NameLabel \"Name:\"\n"
              "edit NameEdit \"\" focused\n"
              "label PassLabel \"Password:\"\n"
              "edit PassEdit \"\"\n"
              "label CountryLabel \"Country:\"\n"
              "combo CountryCombo\n"
              "label DsnLabel \"DSN:\"\n"
              "combo DsnCombo\n"
              "group ModeGroup \"Installation Mode\"\n"
              "radio BasicRadio (o) \"Basic (recommended for under 100 accounts)\"\n"
              "radio AdvancedRadio ( ) \"Advanced (100+ accounts, external database)\"\n"
              "checkbox AgreeCheck [ ] \"I agree with the license agreement\"\n"
              "memo LicenseMemo \"SOFTWARE LICENSE AGREEMENT\\r\\nRead this agreement before you "
              "install the software. By ticking the box above you accept it.\\r\\nLine "
              "three.\\r\\nLine four.\"\n"
              "progress ProgressBar 0/12\n"
              "tree ComponentsTree\n"
              "  [2] \"Services and core files\" current\n"
              "  [0] \"Administration\"\n"
              "    [0] \"Administration interface\"\n"
              "    [0] \"Desktop icon\"\n"
              "  [0] \"Modules\"\n"
              "    [0] \"Webmail\"\n"
              "    [0] \"Anti-Spam\"\n"
              "list FolderList\n"
              "  \"C:\\\"\n"
              "  \"Program Files\"\n"
              "  \"Tolva\"\n"
              "checklist OptionsList\n"
              "  [x] \"Start services\"\n"
              "  [ ] \"Create icons\"\n"
              "  [ ] \"Send mail\" disabled\n"
              "listview AccountsView\n"
              "  \"admin\"\n"
              "  \"info\"\n"
              "label LinkLabel \"http://localhost/webmail/\"\n"
              "label StatusLabel \"FormShow\"\n"
              "button DialogButton \"Dialog...\"\n"
              "button MessageButton \"Message...\"\n"
              "button BackButton \"< Back\"\n"
              "button NextButton \"Next >\" default disabled\n"
              "button CancelButton \"Cancel\"\n");
}

TEST_F(HeadlessDisplayTest, RefusesWhatAUserCouldNotDo) {
    auto& cover = form.Add({.className = "TPanel",
                            .name = "Cover",
                            .parent = form.Find("DetailsGroup"),
                            .bounds = {0, 0, 300, 132}});
    form.Find("ModeGroup")->SetVisible(false);
    struct Case {
        const char* name;
        const char* reason;
    } cases[] = {
        {"NextButton", "NextButton is disabled"},
        {"BasicRadio", "BasicRadio is hidden"},
        {"NameEdit", "NameEdit is covered by a component in front of it"},
        {"NoSuchButton", "NoSuchButton is not on form TSampleForm"},
    };
    for (const auto& c : cases) {
        ActionResult result = display.Click(form, c.name);
        EXPECT_FALSE(result) << c.name;
        EXPECT_EQ(result.reason, c.reason);
    }
    EXPECT_THAT(Describe(form), Not(HasSubstr("NameEdit")));
    cover.SendToBack();
    EXPECT_TRUE(display.Click(form, "NameEdit"));
    EXPECT_EQ(form.EventLog(), std::vector<std::string>{"FormShow"}) << "no event was fired";

    display.ScriptModal("TSampleDialog", [&](Form& shown) {
        ActionResult behind = display.Click(form, "BackButton");
        EXPECT_EQ(behind.reason, "form TSampleForm is behind the modal TSampleDialog");
        EXPECT_TRUE(display.Click(shown, "CancelButton"));
        EXPECT_FALSE(display.Click(shown, "CancelButton")) << "the dialog has closed";
    });
    ASSERT_TRUE(display.Click(form, "DialogButton"));
}

TEST_F(HeadlessDisplayTest, TypingChangesTheTextOneKeyAtATime) {
    ASSERT_TRUE(display.Type(form, "NameEdit", u"Jo"));
    ASSERT_TRUE(display.Press(form, Key::kBackspace));
    ASSERT_TRUE(display.Type(form, "NameEdit", u"é"));
    EXPECT_THAT(form.EventLog(), ElementsAre("FormShow", "NameEdit change J", "NameEdit change Jo",
                                             "NameEdit change J", "NameEdit change Jé"));
    form.NameEdit->SelectAll();
    ASSERT_TRUE(display.Type(form, "NameEdit", u"X"));
    EXPECT_EQ(form.NameEdit->Text(), u"X");

    ASSERT_TRUE(display.Type(form, "PassEdit", u"secret"));
    EXPECT_EQ(form.PassEdit->Text(), u"secret");
    EXPECT_THAT(Describe(form), HasSubstr("edit PassEdit \"******\" focused\n"));

    form.PassEdit->SetReadOnly(true);
    ASSERT_TRUE(display.Type(form, "PassEdit", u"!"));
    EXPECT_EQ(form.PassEdit->Text(), u"secret");
}

TEST_F(HeadlessDisplayTest, ChoosingItems) {
    ASSERT_TRUE(display.Choose(form, "CountryCombo", u"Germany"));
    EXPECT_EQ(LastEvent(), "CountryCombo change Germany");
    EXPECT_THAT(Describe(form), HasSubstr("combo CountryCombo \"Germany\" focused\n"));
    ASSERT_TRUE(display.Type(form, "CountryCombo", u"u"));
    EXPECT_EQ(LastEvent(), "CountryCombo change United Kingdom");
    ASSERT_TRUE(display.Press(form, Key::kDown));
    EXPECT_EQ(LastEvent(), "CountryCombo change United States of America");
    EXPECT_FALSE(display.Choose(form, "CountryCombo", u"Atlantis"));

    ASSERT_TRUE(display.Choose(form, "DsnCombo", u"accounts"));
    ASSERT_TRUE(display.Type(form, "DsnCombo", u"2"));
    EXPECT_EQ(form.DsnCombo->Text(), u"accounts2");
    EXPECT_EQ(form.DsnCombo->ItemIndex(), -1) << "typed text is no item";

    ASSERT_TRUE(display.Choose(form, "OptionsList", u"Send mail"));
    ASSERT_TRUE(display.Press(form, Key::kSpace));
    EXPECT_FALSE(form.OptionsList->Items()[2].checked) << "a disabled item cannot be ticked";
    ASSERT_TRUE(display.Press(form, Key::kUp));
    ASSERT_TRUE(display.Press(form, Key::kSpace));
    EXPECT_TRUE(form.OptionsList->Items()[1].checked);
}

TEST_F(HeadlessDisplayTest, TreeClicksKnowWhereThePointerWas) {
    // Rows of the headless tree: node i (all expanded) on row i. The click event comes before
    // the node becomes current, so a first click on another node only selects it.
    struct Case {
        int node;
        int x;
        int state;  // of "Desktop icon" (node 3) afterwards
        const char* event;
    } cases[] = {
        {3, 40, 0, "ComponentsTree click node 3 x 40"},  // becomes current
        {3, 40, 1, "ComponentsTree click node 3 x 40"},  // acted on
        {3, 19, 1, "ComponentsTree click node 3 x 19"},  // too near the edge
        {3, 20, 0, "ComponentsTree click node 3 x 20"},
        {1, 40, 0, "ComponentsTree click node 1 x 40"},
        {1, 40, 1, "ComponentsTree click node 1 x 40"},  // the group takes its children along
        {0, 40, 1, "ComponentsTree click node 0 x 40"},
        {0, 40, 1, "ComponentsTree click node 0 x 40"},  // fixed
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(display.ClickNode(form, "ComponentsTree", c.node, c.x));
        EXPECT_EQ(form.ComponentsTree->Nodes()[3].statePicture, c.state) << c.event;
        EXPECT_EQ(LastEvent(), c.event);
    }
    EXPECT_EQ(form.ComponentsTree->Nodes()[0].statePicture, 2);
    ASSERT_TRUE(display.ClickNode(form, "ComponentsTree", 2, 40));
    ASSERT_TRUE(display.ClickNode(form, "ComponentsTree", 2, 40));
    EXPECT_EQ(form.ComponentsTree->Nodes()[1].statePicture, 3) << "partly selected";
}

TEST_F(HeadlessDisplayTest, ModalDialogsRunTheirScriptsAndHonourTheCloseQuery) {
    display.ScriptModal("TSampleDialog", [&](Form& shown) {
        EXPECT_TRUE(display.Click(shown, "OKButton"));
        EXPECT_TRUE(shown.Showing()) << "OK without a value is refused";
        EXPECT_TRUE(display.Type(shown, "ValueEdit", u"v"));
        EXPECT_TRUE(display.Click(shown, "OKButton"));
    });
    ASSERT_TRUE(display.Click(form, "DialogButton"));
    EXPECT_EQ(LastEvent(), "Dialog ok v");

    display.ScriptModal("TSampleDialog",
                        [&](Form& shown) { EXPECT_TRUE(display.CloseBox(shown)); });
    ASSERT_TRUE(display.Click(form, "DialogButton"));
    EXPECT_EQ(LastEvent(), "Dialog cancel");
    EXPECT_TRUE(display.Problems().empty());

    ASSERT_TRUE(display.Click(form, "DialogButton"));
    EXPECT_EQ(LastEvent(), "Dialog cancel");
    EXPECT_THAT(display.Problems(), ElementsAre("modal TSampleDialog shown with no script",
                                                "modal TSampleDialog left open by its script"));
    EXPECT_THAT(display.ModalsShown(),
                ElementsAre("TSampleDialog", "TSampleDialog", "TSampleDialog"));
}

TEST_F(HeadlessDisplayTest, MessageBoxesComeFromThePlatformsDialogs) {
    dialogs.QueueAnswer(platform::DialogResult::kNo);
    ASSERT_TRUE(display.Click(form, "MessageButton"));
    EXPECT_EQ(LastEvent(), "Message no");
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].text, u"Do you like this form?");
}

TEST_F(HeadlessDisplayTest, PendingMessagesLetTheUserActDuringALongStep) {
    form.NextButton->events.click = [&](Component&) {
        form.NextButton->SetEnabled(false);
        display.SetBusy(true);
        for (int step = 0; step < 3 && form.Showing(); ++step) {
            form.ProgressBar->StepIt();
            application.ProcessPendingMessages();
        }
        display.SetBusy(false);
    };
    ASSERT_TRUE(display.Tick(form, "AgreeCheck", true));
    dialogs.QueueAnswer(platform::DialogResult::kYes);
    display.QueuePending([&] { EXPECT_TRUE(display.Press(form, Key::kEscape)); });
    ASSERT_TRUE(display.Click(form, "NextButton"));
    EXPECT_EQ(display.PendingMessageRuns(), 1) << "the loop stopped once the form closed";
    EXPECT_EQ(form.ProgressBar->Position(), 1);
    EXPECT_EQ(LastEvent(), "closing");
    EXPECT_FALSE(display.Busy());
}

}  // namespace
}  // namespace tolva::ui::sample

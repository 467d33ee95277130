// The keyboard rules of forms, driven through the headless display as a user would press keys.

#include <gmock/gmock.h>

#include "sample_fixture.h"
#include "ui/tab_order.h"

namespace tolva::ui::sample {
namespace {

using ::testing::ElementsAre;

using KeyboardTest = SampleFixture;

std::vector<std::string> Names(const std::vector<Component*>& components) {
    std::vector<std::string> names;
    for (const Component* component : components) {
        names.push_back(component->Name());
    }
    return names;
}

TEST_F(KeyboardTest, TabVisitsReachableControlsInTabOrder) {
    EXPECT_THAT(
        Names(TabSequence(form)),
        ElementsAre("NameEdit", "PassEdit", "CountryCombo", "DsnCombo", "BasicRadio", "AgreeCheck",
                    "LicenseMemo", "ComponentsTree", "FolderList", "OptionsList", "AccountsView",
                    "DialogButton", "MessageButton", "BackButton", "CancelButton"));
    // The checked radio button stands for its group; hidden and disabled controls drop out.
    ASSERT_TRUE(display.Click(form, "AdvancedRadio"));
    form.Find("DetailsGroup")->SetVisible(false);
    form.Find("DialogButton")->SetEnabled(false);
    EXPECT_THAT(
        Names(TabSequence(form)),
        ElementsAre("AdvancedRadio", "AgreeCheck", "LicenseMemo", "ComponentsTree", "FolderList",
                    "OptionsList", "AccountsView", "MessageButton", "BackButton", "CancelButton"));
}

TEST_F(KeyboardTest, TabAndShiftTabMoveTheFocusAndWrap) {
    EXPECT_EQ(Focused(), "NameEdit");  // FormShow focuses it
    ASSERT_TRUE(display.Press(form, Key::kTab));
    EXPECT_EQ(Focused(), "PassEdit");
    ASSERT_TRUE(display.Press(form, Key::kTab, true));
    ASSERT_TRUE(display.Press(form, Key::kTab, true));
    EXPECT_EQ(Focused(), "CancelButton");
    ASSERT_TRUE(display.Press(form, Key::kTab));
    EXPECT_EQ(Focused(), "NameEdit");
}

TEST_F(KeyboardTest, EnterPressesTheDefaultButtonUnlessAnotherButtonHasTheFocus) {
    ASSERT_TRUE(display.Press(form, Key::kEnter));
    EXPECT_EQ(LastEvent(), "FormShow") << "the default button is disabled";
    ASSERT_TRUE(display.Tick(form, "AgreeCheck", true));
    ASSERT_TRUE(display.Focus(form, "NameEdit"));
    ASSERT_TRUE(display.Press(form, Key::kEnter));
    EXPECT_EQ(LastEvent(), "NextButton click tag 1");
    ASSERT_TRUE(display.Focus(form, "BackButton"));
    ASSERT_TRUE(display.Press(form, Key::kEnter));
    EXPECT_EQ(LastEvent(), "BackButton click tag 0");
}

TEST_F(KeyboardTest, EscWithoutCancelButtonReachesTheFormsKeyPress) {
    dialogs.QueueAnswer(platform::DialogResult::kNo);
    ASSERT_TRUE(display.Press(form, Key::kEscape));
    EXPECT_EQ(LastEvent(), "FormKeyPress escape");
    EXPECT_TRUE(form.Showing());
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].caption, u"Exit Sample");

    dialogs.QueueAnswer(platform::DialogResult::kYes);
    ASSERT_TRUE(display.Press(form, Key::kEscape));
    EXPECT_EQ(LastEvent(), "closing");
    EXPECT_FALSE(form.Showing());
    EXPECT_TRUE(display.QuitAsked()) << "closing the main form ends the message loop";
}

TEST_F(KeyboardTest, EscAndEnterInADialogPressItsCancelAndDefaultButtons) {
    display.ScriptModal("TSampleDialog",
                        [&](Form& shown) { EXPECT_TRUE(display.Press(shown, Key::kEscape)); });
    ASSERT_TRUE(display.PressAlt(form, u'i'));
    EXPECT_EQ(LastEvent(), "Dialog cancel");

    display.ScriptModal("TSampleDialog", [&](Form& shown) {
        EXPECT_TRUE(display.Type(shown, "ValueEdit", u"42"));
        EXPECT_TRUE(display.Press(shown, Key::kEnter));
    });
    ASSERT_TRUE(display.Click(form, "DialogButton"));
    EXPECT_EQ(LastEvent(), "Dialog ok 42");
    EXPECT_TRUE(display.Problems().empty());
}

TEST_F(KeyboardTest, AcceleratorsAct) {
    struct Case {
        const char* focusFirst;
        char16_t letter;
        bool alt;
        const char* focusAfter;
        const char* event;
    } cases[] = {
        {"BackButton", u'p', true, "PassEdit", "FormShow"},  // label -> its control
        {"BackButton", u'a', true, "AgreeCheck", "AgreeCheck click ticked"},
        {"BackButton", u'V', true, "AdvancedRadio", "AdvancedRadio click"},
        {"BackButton", u'a', false, "AgreeCheck", "AgreeCheck click unticked"},  // plain letter
        {"NameEdit", u'a', false, "NameEdit", "NameEdit change a"},  // an edit takes the letter
        {"NameEdit", u'o', true, "CountryCombo", "NameEdit change a"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(display.Focus(form, c.focusFirst)) << c.focusFirst;
        if (c.alt) {
            EXPECT_TRUE(display.PressAlt(form, c.letter)) << static_cast<char>(c.letter);
        } else {
            std::u16string typed(1, c.letter);
            EXPECT_TRUE(display.Type(form, c.focusFirst, typed));
        }
        EXPECT_EQ(Focused(), c.focusAfter) << static_cast<char>(c.letter);
        EXPECT_EQ(LastEvent(), c.event) << static_cast<char>(c.letter);
    }
    EXPECT_FALSE(display.PressAlt(form, u'z'));
}

TEST_F(KeyboardTest, ArrowsMoveAmongRadioButtons) {
    ASSERT_TRUE(display.Focus(form, "BasicRadio"));
    ASSERT_TRUE(display.Press(form, Key::kDown));
    EXPECT_TRUE(form.AdvancedRadio->Checked());
    EXPECT_FALSE(form.BasicRadio->Checked());
    EXPECT_EQ(Focused(), "AdvancedRadio");
    ASSERT_TRUE(display.Press(form, Key::kDown));
    EXPECT_TRUE(form.BasicRadio->Checked());
}

TEST_F(KeyboardTest, AHandlerSwallowsTheKeyItHandles) {
    ASSERT_TRUE(display.Focus(form, "ComponentsTree"));
    ASSERT_TRUE(display.Press(form, Key::kDown));
    ASSERT_TRUE(display.Press(form, Key::kSpace));
    EXPECT_EQ(LastEvent(), "ComponentsTree space");
    EXPECT_EQ(form.ComponentsTree->Nodes()[1].statePicture, 1);
    EXPECT_EQ(form.ComponentsTree->Nodes()[2].statePicture, 1);

    // The form sees the characters first: Esc in an edit never reaches the edit.
    form.NameEdit->events.keyPress = [](Component&, char16_t& key) { key = u'!'; };
    dialogs.QueueAnswer(platform::DialogResult::kNo);
    ASSERT_TRUE(display.Type(form, "NameEdit",
                             u"\x1b"
                             u"x"));
    EXPECT_EQ(form.NameEdit->Text(), u"!");
}

TEST_F(KeyboardTest, EnterInAMemoBreaksTheLineUnlessItIsReadOnly) {
    form.LicenseMemo->SetReadOnly(false);
    form.LicenseMemo->SetText(u"ab");
    form.LicenseMemo->SetSelection(1, 0);
    ASSERT_TRUE(display.Focus(form, "LicenseMemo"));
    ASSERT_TRUE(display.Press(form, Key::kEnter));
    EXPECT_EQ(form.LicenseMemo->Text(), u"a\r\nb");
    form.LicenseMemo->SetReadOnly(true);
    ASSERT_TRUE(display.Tick(form, "AgreeCheck", true));
    ASSERT_TRUE(display.Focus(form, "LicenseMemo"));
    ASSERT_TRUE(display.Press(form, Key::kEnter));
    EXPECT_EQ(LastEvent(), "NextButton click tag 1");
}

}  // namespace
}  // namespace tolva::ui::sample

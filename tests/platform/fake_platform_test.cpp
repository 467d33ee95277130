// What the fakes add to their contracts: scripts, records and a clock that stands still.

#include <gtest/gtest.h>

#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_system.h"

namespace tolva::platform {
namespace {

TEST(FakeRegistryTest, RecordsCallsAndFailsOnRequest) {
    FakeRegistry registry;
    registry.FailNext("WriteString", error::kAccessDenied);
    EXPECT_EQ(registry.WriteString(RegistryRoot::kLocalMachine, "Software\\X", "A", "1").code(),
              error::kAccessDenied);
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::kLocalMachine, "Software\\X"))
        << "a failed write leaves nothing behind";
    ASSERT_TRUE(registry.WriteString(RegistryRoot::kLocalMachine, "Software\\X", "A", "1").ok());
    ASSERT_TRUE(registry.RemoveKeyTree(RegistryRoot::kLocalMachine, "Software\\X").ok());

    const std::vector<RegistryCall> expected = {
        {"WriteString", RegistryRoot::kLocalMachine, "Software\\X", "A"},
        {"KeyExists", RegistryRoot::kLocalMachine, "Software\\X", ""},
        {"WriteString", RegistryRoot::kLocalMachine, "Software\\X", "A"},
        {"RemoveKeyTree", RegistryRoot::kLocalMachine, "Software\\X", ""},
    };
    EXPECT_EQ(registry.Calls(), expected);
}

TEST(FakeRegistryTest, RootsAreSeparateAndExpandStringsReadAsStrings) {
    FakeRegistry registry;
    ASSERT_TRUE(registry.WriteExpandString(RegistryRoot::kCurrentUser, "Env", "Path", "%X%").ok());
    std::string text;
    ASSERT_TRUE(registry.ReadString(RegistryRoot::kCurrentUser, "Env", "Path", text).ok());
    EXPECT_EQ(text, "%X%");
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::kLocalMachine, "Env"));
}

TEST(FakeDialogsTest, AnswersFromTheQueueThenTheDefault) {
    FakeDialogs dialogs;
    MessageBoxRequest question{u"Exit?", u"Setup", DialogButtons::kYesNo, DialogIcon::kQuestion,
                               true};
    MessageBoxRequest retry{u"Copy failed", u"Error", DialogButtons::kRetryCancel,
                            DialogIcon::kError};

    dialogs.QueueAnswer(DialogResult::kNo);
    EXPECT_EQ(dialogs.ShowMessageBox(question), DialogResult::kNo);
    EXPECT_EQ(dialogs.ShowMessageBox(question), DialogResult::kYes) << "first button";
    EXPECT_EQ(dialogs.ShowMessageBox(retry), DialogResult::kRetry);
    dialogs.SetDefaultAnswer(DialogResult::kCancel);
    EXPECT_EQ(dialogs.ShowMessageBox(retry), DialogResult::kCancel);

    ASSERT_EQ(dialogs.Shown().size(), 4u);
    EXPECT_EQ(dialogs.Shown()[0].text, u"Exit?");
    EXPECT_TRUE(dialogs.Shown()[0].taskModal);
    EXPECT_EQ(dialogs.Shown()[3].caption, u"Error");
    EXPECT_EQ(dialogs.UnusedAnswers(), 0u);
}

TEST(FakeSystemTest, TicksMoveOnlyBySleepsAndSteps) {
    FakeSystem system;
    system.SetTicks(0xFFFFFFF0u);
    EXPECT_EQ(system.Ticks(), system.Ticks());
    system.SleepFor(0x20);
    EXPECT_EQ(system.Ticks(), 0x10u) << "wraps like GetTickCount";
    system.SetTickStep(5);
    EXPECT_EQ(system.Ticks(), 0x10u);
    EXPECT_EQ(system.Ticks(), 0x15u);
    EXPECT_EQ(system.Sleeps(), std::vector<uint32_t>{0x20});
    EXPECT_EQ(system.Now().year, 2026);
}

}  // namespace
}  // namespace tolva::platform

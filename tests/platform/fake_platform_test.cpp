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
    EXPECT_EQ(registry.WriteString(RegistryRoot::LocalMachine, "Software\\X", "A", "1").code(),
              error::kAccessDenied);
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, "Software\\X"))
        << "a failed write leaves nothing behind";
    ASSERT_TRUE(registry.WriteString(RegistryRoot::LocalMachine, "Software\\X", "A", "1").ok());
    ASSERT_TRUE(registry.RemoveKeyTree(RegistryRoot::LocalMachine, "Software\\X").ok());

    const std::vector<RegistryCall> expected = {
        {"WriteString", RegistryRoot::LocalMachine, "Software\\X", "A"},
        {"KeyExists", RegistryRoot::LocalMachine, "Software\\X", ""},
        {"WriteString", RegistryRoot::LocalMachine, "Software\\X", "A"},
        {"RemoveKeyTree", RegistryRoot::LocalMachine, "Software\\X", ""},
    };
    EXPECT_EQ(registry.Calls(), expected);
}

TEST(FakeRegistryTest, RootsAreSeparateAndExpandStringsReadAsStrings) {
    FakeRegistry registry;
    ASSERT_TRUE(registry.WriteExpandString(RegistryRoot::CurrentUser, "Env", "Path", "%X%").ok());
    std::string text;
    ASSERT_TRUE(registry.ReadString(RegistryRoot::CurrentUser, "Env", "Path", text).ok());
    EXPECT_EQ(text, "%X%");
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, "Env"));
}

TEST(FakeDialogsTest, AnswersFromTheQueueThenTheDefault) {
    FakeDialogs dialogs;
    MessageBoxRequest question{u"Exit?", u"Setup", DialogButtons::YesNo, DialogIcon::Question,
                               true};
    MessageBoxRequest retry{u"Copy failed", u"Error", DialogButtons::RetryCancel,
                            DialogIcon::Error};

    dialogs.QueueAnswer(DialogResult::No);
    EXPECT_EQ(dialogs.ShowMessageBox(question), DialogResult::No);
    EXPECT_EQ(dialogs.ShowMessageBox(question), DialogResult::Yes) << "first button";
    EXPECT_EQ(dialogs.ShowMessageBox(retry), DialogResult::Retry);
    dialogs.SetDefaultAnswer(DialogResult::Cancel);
    EXPECT_EQ(dialogs.ShowMessageBox(retry), DialogResult::Cancel);

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

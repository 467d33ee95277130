#include "setup/single_instance.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"

namespace tolva::setup {
namespace {

TEST(SingleInstanceTest, SecondSetupSaysSoAndStops) {
    platform::FakePlatform machine;
    std::unique_ptr<platform::InstanceClaim> first;
    ASSERT_TRUE(ClaimSingleInstance(machine.Processes(), machine.Dialogs(), first));
    EXPECT_TRUE(machine.Dialogs().Shown().empty());

    std::unique_ptr<platform::InstanceClaim> second;
    EXPECT_FALSE(ClaimSingleInstance(machine.Processes(), machine.Dialogs(), second));
    ASSERT_EQ(machine.Dialogs().Shown().size(), 1u);
    EXPECT_EQ(machine.Dialogs().Shown()[0].text,
              u"Setup is already running. Please wait until it has finished before starting it "
              u"again.");
    EXPECT_EQ(machine.Dialogs().Shown()[0].caption, u"Setup");

    first.reset();
    EXPECT_TRUE(ClaimSingleInstance(machine.Processes(), machine.Dialogs(), second));
}

TEST(SingleInstanceTest, ClaimThatCannotBeMadeDoesNotStopTheRun) {
    platform::FakePlatform machine;
    machine.Processes().Log().FailNext("ClaimInstance", platform::error::kAccessDenied);
    std::unique_ptr<platform::InstanceClaim> claim;
    EXPECT_TRUE(ClaimSingleInstance(machine.Processes(), machine.Dialogs(), claim));
    EXPECT_TRUE(machine.Dialogs().Shown().empty());
}

}  // namespace
}  // namespace tolva::setup

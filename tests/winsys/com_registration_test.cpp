#include "winsys/com_registration.h"

#include <gtest/gtest.h>

#include "fakes/suite_machine.h"

namespace tolva::winsys {
namespace {

TEST(ComRegistrationTest, RegistrationMakesTheLibrarysClassesCreatableAndRemovalUndoesIt) {
    testing::SuiteMachine machine;
    machine.AddComLibraries();
    EXPECT_TRUE(RegisterComServer(machine.automation, "C:\\Tolva\\corvanecom.dll"));
    EXPECT_TRUE(machine.ApiObjectRegistered());
    EXPECT_TRUE(UnregisterComServer(machine.automation, "C:\\Tolva\\corvanecom.dll"));
    EXPECT_FALSE(machine.ApiObjectRegistered());
    EXPECT_TRUE(RegisterComServer(machine.automation, "C:\\Tolva\\api.dll"));
    EXPECT_FALSE(RegisterComServer(machine.automation, "C:\\Tolva\\missing.dll"));
    EXPECT_FALSE(UnregisterComServer(machine.automation, "C:\\Tolva\\missing.dll"));
}

}  // namespace
}  // namespace tolva::winsys

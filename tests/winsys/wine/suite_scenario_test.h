#pragma once
// What every Wine scenario test of service control starts from: the real platform, the stand-ins
// installed in their folder, and the main window as service control sees it. When a test is over,
// it has ended every program it started and the folder goes.

#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "recording_window.h"
#include "suite_folder.h"
#include "winsys/service_install.h"

namespace tolva::winsys::testing {

class SuiteScenarioTest : public ::testing::Test {
protected:
    // platformId: what Wine must report to the test program in this scenario.
    explicit SuiteScenarioTest(platform::PlatformId platformId) : platformId_(platformId) {}

    void SetUp() override {
        ASSERT_EQ(platform.system->GetPlatformId(), platformId_);
        suite.Install();
        setup.installFolder = SuiteFolder::kFolder;
    }

    void TearDown() override {
        EndPrograms();
        EXPECT_TRUE(suite.WaitFor([&] { return suite.RunningStandins().empty(); }, 10000))
            << "still running: " << ::testing::PrintToString(suite.RunningStandins());
        suite.Remove();
    }

    // Ends what the test left running, however it left it.
    virtual void EndPrograms() = 0;

    platform::Win32Platform win32;
    platform::Platform& platform = win32.Services();
    SuiteFolder suite{platform};
    RecordingWindow window;
    ServiceSetup setup;
    // A COM library registers its classes in the registry view of its own width, which is ours.
    const platform::RegistryHive classes{
        platform::RegistryRoot::kClassesRoot,
        sizeof(void*) == 8 ? platform::RegistryView::k64Bit : platform::RegistryView::k32Bit};

private:
    platform::PlatformId platformId_;
};

}  // namespace tolva::winsys::testing

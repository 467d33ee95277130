// The service steps and task messages in application mode: Wine reports Windows 98 to this
// program, so the stand-ins run as windowed programs, closed and messaged through their windows.

#include <gtest/gtest.h>

#include "suite_scenario_test.h"
#include "upgrade/service_table.h"
#include "upgrade/task_messages.h"
#include "upgrade/task_packet.h"
#include "winsys/kill_process.h"

namespace tolva::winsys {
namespace {

using testing::SuiteFolder;
using upgrade::kServiceCount;
using upgrade::ServiceRowAt;

class AppModeTest : public testing::SuiteScenarioTest {
protected:
    AppModeTest() : SuiteScenarioTest(platform::PlatformId::kWindows9x) {}

    void EndPrograms() override {
        for (int index = 0; index < kServiceCount; ++index) {
            (void)KillProcessByName(*platform.processes, ServiceRowAt(index)->executable);
        }
    }

    bool WindowsOpen(bool open) {
        return suite.WaitFor(
            [&] {
                for (int index = 0; index < kServiceCount; ++index) {
                    if ((upgrade::FindProgramWindow(*platform.windows, index) != 0) != open) {
                        return false;
                    }
                }
                return true;
            },
            20000);
    }
};

TEST_F(AppModeTest, ProgramsAreLaunchedMessagedAndClosedThroughTheirWindows) {
    ServiceInstall install(platform, window, setup);
    install.SaveStartTypes();
    EXPECT_FALSE(install.StopRunningServices()) << "always false in application mode";
    install.InstallAndStartServices();
    ASSERT_TRUE(WindowsOpen(true));
    install.CheckStartedServices();
    install.RestoreStartTypes();
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_TRUE(platform.registry->KeyExists(classes, "CorvaneServer.APIObject"));

    upgrade::TaskMessenger messenger(platform);
    ASSERT_EQ(messenger.Mode(), upgrade::RunMode::kApplication);
    EXPECT_TRUE(messenger.IsProgramRunning(12));
    EXPECT_TRUE(messenger.PostTaskMessage(2, upgrade::kTaskMessage, 3, 0));
    EXPECT_EQ(messenger.SendTaskMessage(8, upgrade::kTaskMessage, 257, 0), 1);
    messenger.BroadcastConfigChange(nullptr);
    // Window messages are handled before the sender goes on.
    EXPECT_TRUE(suite.Logged("TolvaControl", "window task message=1280 code=3 argument=0"));
    EXPECT_TRUE(suite.Logged("TolvaPOP3", "window task message=1280 code=257 argument=0"));
    for (int index = 0; index < kServiceCount; ++index) {
        EXPECT_TRUE(suite.Logged(ServiceRowAt(index)->serviceName, "start application"));
        EXPECT_TRUE(suite.Logged(ServiceRowAt(index)->serviceName,
                                 "window task message=1280 code=257 argument=0"))
            << index;
    }

    EXPECT_FALSE(install.StopRunningServices());
    EXPECT_TRUE(WindowsOpen(false));
    for (int index = 0; index < kServiceCount; ++index) {
        EXPECT_TRUE(suite.Logged(ServiceRowAt(index)->serviceName, "close")) << index;
    }
    EXPECT_TRUE(messenger.PostTaskMessage(0, upgrade::kTaskMessage, 2, 0))
        << "true even without a window";
    EXPECT_EQ(messenger.SendTaskMessage(0, upgrade::kTaskMessage, 2, 0), 0);
}

TEST_F(AppModeTest, ProgramThatKeepsItsWindowIsWaitedForAndLeftRunning) {
    suite.WriteStandinSettings("[TolvaCalendar]\r\nIgnoreClose=1\r\n");
    ServiceControl control(platform, window, SuiteFolder::kFolder);
    ASSERT_TRUE(control.StartStopService(upgrade::kGroupWareService, true));
    ASSERT_TRUE(suite.WaitFor(
        [&] {
            return upgrade::FindProgramWindow(*platform.windows, upgrade::kGroupWareService) != 0;
        },
        20000));

    uint32_t started = platform.system->Ticks();
    EXPECT_TRUE(control.StartStopService(upgrade::kGroupWareService, false));
    EXPECT_GE(platform.system->Ticks() - started, ServiceControl::kStopDeadlineMs);
    EXPECT_TRUE(suite.Logged("TolvaCalendar", "close ignored"));
    EXPECT_NE(upgrade::FindProgramWindow(*platform.windows, upgrade::kGroupWareService), 0u);
    EXPECT_TRUE(KillProcessByName(*platform.processes, "cal"));
}

// A program that stopped answering holds a task message no longer than a busy pipe is waited for,
// and its stop no longer than the stop's deadline; it is left running.
TEST_F(AppModeTest, ProgramThatStoppedAnsweringDoesNotHoldTheInstaller) {
    suite.WriteStandinSettings("[TolvaIM]\r\nHangMs=40000\r\n");
    ServiceControl control(platform, window, SuiteFolder::kFolder);
    ASSERT_TRUE(control.StartStopService(upgrade::kImService, true));
    ASSERT_TRUE(suite.WaitFor(
        [&] { return upgrade::FindProgramWindow(*platform.windows, upgrade::kImService) != 0; },
        20000));

    upgrade::TaskMessenger messenger(platform);
    uint32_t started = platform.system->Ticks();
    EXPECT_TRUE(messenger.PostTaskMessage(upgrade::kImService, upgrade::kTaskMessage, 2, 9));
    EXPECT_LT(platform.system->Ticks() - started, upgrade::TaskMessenger::kWindowAnswerMs + 2000);
    EXPECT_TRUE(suite.WaitFor([&] { return suite.Logged("TolvaIM", "not answering"); }, 5000));

    started = platform.system->Ticks();
    EXPECT_TRUE(control.StartStopService(upgrade::kImService, false));
    EXPECT_LT(platform.system->Ticks() - started, ServiceControl::kStopDeadlineMs + 2000);
    EXPECT_NE(upgrade::FindProgramWindow(*platform.windows, upgrade::kImService), 0u);
    EXPECT_TRUE(KillProcessByName(*platform.processes, "im"));
}

}  // namespace
}  // namespace tolva::winsys

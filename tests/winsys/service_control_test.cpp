#include "winsys/service_control.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/suite_machine.h"
#include "recording_window.h"
#include "upgrade/service_table.h"

namespace tolva::winsys {
namespace {

namespace access = platform::service_access;
using platform::FakeServiceScript;
using platform::ServiceStartType;
using platform::ServiceState;
using upgrade::kSmtpService;

constexpr char kFolder[] = "C:\\Tolva\\";

class ServiceControlTest : public ::testing::Test {
protected:
    uint32_t SleptInAll() const {
        uint32_t total = 0;
        for (uint32_t sleep : machine.system.Sleeps()) {
            total += sleep;
        }
        return total;
    }

    testing::SuiteMachine machine;
    RecordingWindow window;
    ServiceControl control{machine.platform, window, kFolder};
};

TEST_F(ServiceControlTest, StopWaitsForTheStoppedStateAndTerminatesWhatDoesNotStop) {
    struct Case {
        const char* what;
        FakeServiceScript script;
        bool result;
        bool killed;
    } cases[] = {
        {"stops at once", {}, true, false},
        {"stops within the deadline", {0, 900}, true, false},
        {"never stops", {0, FakeServiceScript::kForever}, false, true},
    };
    for (const Case& c : cases) {
        testing::SuiteMachine local;
        local.InstallService(kSmtpService, ServiceState::kRunning);
        local.services.Script("TolvaSMTP", c.script);
        local.processes.Start("pop3.exe");
        RecordingWindow boxes;
        ServiceControl stopper(local.platform, boxes, kFolder);

        EXPECT_EQ(stopper.StartStopService(kSmtpService, false), c.result) << c.what;
        EXPECT_EQ(local.services.StateOf("TolvaSMTP"), ServiceState::kStopped) << c.what;
        EXPECT_EQ(local.processes.Terminations().size(), c.killed ? 1u : 0u) << c.what;
        EXPECT_EQ(local.processes.IdsOf("pop3.exe").size(), 1u) << "others live: " << c.what;
        const std::vector<uint32_t>& sleeps = local.system.Sleeps();
        EXPECT_EQ(!sleeps.empty() && sleeps.back() == 2000, c.killed) << c.what;
        EXPECT_TRUE(boxes.boxes.empty()) << c.what;
        EXPECT_EQ(
            local.services.Openings(),
            (std::vector<std::pair<std::string, uint32_t>>{
                {"", access::kManagerAll}, {"TolvaSMTP", access::kStop | access::kQueryStatus}}))
            << c.what;
        EXPECT_EQ(local.services.OpenHandles(), 0) << c.what;
    }
}

TEST_F(ServiceControlTest, NeverStoppingServiceIsWaitedForTenSeconds) {
    machine.InstallService(kSmtpService, ServiceState::kRunning);
    machine.services.Script("TolvaSMTP", {0, FakeServiceScript::kForever});
    EXPECT_FALSE(control.StartStopService(kSmtpService, false));
    EXPECT_EQ(SleptInAll(), 10000u + 2000u);
}

TEST_F(ServiceControlTest, FailedStopsReportFalseAndShowTheErrorWhereTheyShould) {
    struct Case {
        const char* what;
        bool installed;
        const char* failing;  // the operation made to fail with access denied
        bool box;
    } cases[] = {
        {"manager", true, "Connect", true},
        {"service missing", false, nullptr, false},
        {"service cannot be opened", true, "Open", false},
        {"stop control refused", true, "Stop", true},
    };
    for (const Case& c : cases) {
        testing::SuiteMachine local;
        if (c.installed) {
            local.InstallService(kSmtpService, ServiceState::kRunning);
        }
        if (c.failing != nullptr) {
            local.services.Log().FailNext(c.failing, platform::error::kAccessDenied);
        }
        RecordingWindow boxes;
        ServiceControl stopper(local.platform, boxes, kFolder);
        EXPECT_FALSE(stopper.StartStopService(kSmtpService, false)) << c.what;
        ASSERT_EQ(boxes.boxes.size(), c.box ? 1u : 0u) << c.what;
        if (c.box) {
            EXPECT_EQ(boxes.boxes[0].text,
                      u"Service error: System error 5\r\nThere might be already some service "
                      u"running on the same TCP/IP port. Make sure MS SMTP, Norton Antivirus POP3 "
                      u"or some other mail server is not running on this machine.")
                << c.what;
            EXPECT_EQ(boxes.boxes[0].caption, u"Warning");
            EXPECT_EQ(boxes.boxes[0].icon, platform::DialogIcon::kWarning);
            EXPECT_TRUE(boxes.boxes[0].taskModal);
        }
        EXPECT_TRUE(local.processes.Terminations().empty()) << c.what;
    }
}

TEST_F(ServiceControlTest, StopOfAnotherServiceTerminatesTheRowsExecutable) {
    machine.InstallSystemSmtp(ServiceState::kRunning);
    machine.services.Script("SMTPSVC", {0, FakeServiceScript::kForever});
    uint32_t smtp = machine.processes.Start("smtp.exe");
    EXPECT_FALSE(control.StartStopService(kSmtpService, false, "SMTPSVC"));
    EXPECT_FALSE(machine.processes.IsRunning(smtp));
    EXPECT_EQ(machine.services.StateOf("SMTPSVC"), ServiceState::kStopPending);
}

TEST_F(ServiceControlTest, StartReportsTrueEvenWhenTheServiceDoesNotStart) {
    struct Case {
        const char* what;
        bool installed;
        ServiceStartType type;
        const char* failing;
        bool result;
        uint32_t boxCode;  // 0: no box
    } cases[] = {
        {"starts", true, ServiceStartType::kAutomatic, nullptr, true, 0},
        {"disabled", true, ServiceStartType::kDisabled, nullptr, true, 1058},
        {"missing", false, ServiceStartType::kAutomatic, nullptr, false, 1060},
        {"manager", true, ServiceStartType::kAutomatic, "Connect", false, 5},
    };
    for (const Case& c : cases) {
        testing::SuiteMachine local;
        if (c.installed) {
            local.InstallService(kSmtpService, ServiceState::kStopped, c.type);
        }
        if (c.failing != nullptr) {
            local.services.Log().FailNext(c.failing, platform::error::kAccessDenied);
        }
        RecordingWindow boxes;
        ServiceControl starter(local.platform, boxes, kFolder);
        EXPECT_EQ(starter.StartStopService(kSmtpService, true), c.result) << c.what;
        ASSERT_EQ(boxes.boxes.size(), c.boxCode == 0 ? 0u : 1u) << c.what;
        if (c.boxCode != 0) {
            std::u16string code =
                u"System error " + machine.system.AnsiToWide(std::to_string(c.boxCode));
            EXPECT_NE(boxes.boxes[0].text.find(code), std::u16string::npos) << c.what;
        }
    }
    machine.InstallService(kSmtpService, ServiceState::kStopped);
    EXPECT_TRUE(control.StartStopService(kSmtpService, true));
    EXPECT_EQ(machine.services.StateOf("TolvaSMTP"), ServiceState::kRunning);
    EXPECT_EQ(machine.services.Openings().back(),
              (std::pair<std::string, uint32_t>{"TolvaSMTP", access::kStart}));
}

TEST_F(ServiceControlTest, ApplicationModeClosesWindowsAndLaunchesExecutables) {
    machine.system.SetPlatformId(platform::PlatformId::kWindows9x);
    ServiceControl windowed(machine.platform, window, "C:\\Tolva Mail\\");
    ASSERT_EQ(windowed.Mode(), upgrade::RunMode::kApplication);

    platform::WindowHandle smtp = machine.OpenProgram(kSmtpService);
    platform::WindowHandle pop3 = machine.OpenProgram(upgrade::kPop3Service);
    machine.windows.IgnoreClose(pop3);
    EXPECT_TRUE(windowed.StartStopService(kSmtpService, false));
    EXPECT_FALSE(machine.windows.Exists(smtp));
    EXPECT_EQ(machine.system.Sleeps().size(), 0u) << "gone at once";
    EXPECT_TRUE(windowed.StartStopService(upgrade::kPop3Service, false)) << "true after the wait";
    EXPECT_TRUE(machine.windows.Exists(pop3));
    EXPECT_EQ(SleptInAll(), 10000u);
    EXPECT_FALSE(windowed.StartStopService(upgrade::kControlService, false)) << "no window";
    for (const platform::FakeWindowMessage& message : machine.windows.Messages()) {
        EXPECT_EQ(message.message, platform::kCloseMessage);
        EXPECT_TRUE(message.sent) << "the close message is sent, not posted";
        EXPECT_EQ(message.timeoutMs, ServiceControl::kStopDeadlineMs);
    }

    EXPECT_FALSE(windowed.StartStopService(kSmtpService, true)) << "no executable";
    ASSERT_TRUE(machine.files.CreateFolders("C:\\Tolva Mail").ok());
    ASSERT_TRUE(machine.files.WriteWholeFile("C:\\Tolva Mail\\smtp.exe", "MZ").ok());
    EXPECT_TRUE(windowed.StartStopService(kSmtpService, true, "OtherName"));
    EXPECT_EQ(
        machine.processes.Launches(),
        std::vector<platform::FakeLaunch>(
            {{"C:\\Tolva Mail\\smtp.exe", "", "C:\\Tolva Mail\\", platform::ShowCommand::kShow}}));
    EXPECT_TRUE(machine.services.Log().Calls().empty()) << "no service manager in this mode";
    machine.processes.Log().FailNext("Launch", platform::error::kAccessDenied);
    EXPECT_FALSE(windowed.StartStopService(kSmtpService, true)) << "the shell could not start it";
}

TEST_F(ServiceControlTest, ExchangeStartTypeReturnsTheOldTypeAndChangesOnlyTheStartType) {
    struct Case {
        const char* what;
        bool installed;
        bool change;
        int32_t newType;
        int32_t result;
        ServiceStartType after;
    } cases[] = {
        {"read only", true, false, 2, 3, ServiceStartType::kManual},
        {"to disabled", true, true, 4, 3, ServiceStartType::kDisabled},
        {"change to unknown", true, true, -1, -1, ServiceStartType::kManual},
        {"missing service", false, true, 2, -1, ServiceStartType::kManual},
    };
    for (const Case& c : cases) {
        testing::SuiteMachine local;
        if (c.installed) {
            local.InstallService(kSmtpService, ServiceState::kStopped, ServiceStartType::kManual);
        }
        RecordingWindow boxes;
        ServiceControl exchanger(local.platform, boxes, kFolder);
        platform::ServiceConfig before =
            local.services.ConfigOf("TolvaSMTP").value_or(platform::ServiceConfig{});
        EXPECT_EQ(exchanger.ExchangeStartType("TolvaSMTP", c.change, c.newType), c.result)
            << c.what;
        if (c.installed) {
            platform::ServiceConfig after = *local.services.ConfigOf("TolvaSMTP");
            EXPECT_EQ(after.startType, c.after) << c.what;
            EXPECT_EQ(after.binaryPath, before.binaryPath) << c.what;
            EXPECT_EQ(after.serviceType, before.serviceType) << c.what;
            EXPECT_EQ(after.errorControl, before.errorControl) << c.what;
        }
        if (c.newType == -1) {
            EXPECT_TRUE(local.services.Log().Calls().empty()) << "touches nothing: " << c.what;
        } else {
            EXPECT_EQ(local.services.Openings(),
                      (std::vector<std::pair<std::string, uint32_t>>{
                          {"", access::kManagerConnect},
                          {"TolvaSMTP", access::kQueryConfig | access::kChangeConfig}}))
                << c.what;
        }
        EXPECT_TRUE(boxes.boxes.empty()) << c.what;
    }
}

TEST_F(ServiceControlTest, CreatedServiceRunsTheInstalledProgramAndRestartsAfterFailures) {
    struct Case {
        std::string folder;
        std::string binaryPath;
    } cases[] = {
        {"C:\\Tolva\\", "C:\\Tolva\\control.exe"},
        {"C:\\Program Files\\Tolva\\", "\"C:\\Program Files\\Tolva\\control.exe\""},
    };
    for (const Case& c : cases) {
        testing::SuiteMachine local;
        RecordingWindow boxes;
        ServiceControl creator(local.platform, boxes, c.folder);
        creator.CreateSuiteService(upgrade::kControlService);

        std::optional<platform::ServiceConfig> config = local.services.ConfigOf("TolvaControl");
        ASSERT_TRUE(config) << c.folder;
        EXPECT_EQ(config->binaryPath, c.binaryPath);
        EXPECT_EQ(config->displayName, "Corvane Control / Web / FTP");
        EXPECT_EQ(config->serviceType, platform::kServiceOwnProcess);
        EXPECT_EQ(config->startType, ServiceStartType::kAutomatic);
        EXPECT_EQ(config->errorControl, platform::kServiceErrorNormal);
        std::optional<platform::ServiceFailureActions> actions =
            local.services.FailureActionsOf("TolvaControl");
        ASSERT_TRUE(actions);
        EXPECT_EQ(actions->resetPeriodSeconds, 0u);
        ASSERT_EQ(actions->actions.size(), 1u);
        EXPECT_EQ(actions->actions[0].recovery, platform::ServiceRecovery::kRestart);
        EXPECT_EQ(actions->actions[0].delayMs, 0u);
        std::string description;
        EXPECT_TRUE(local.registry
                        .ReadString(platform::RegistryRoot::kLocalMachine,
                                    "System\\CurrentControlSet\\Services\\TolvaControl",
                                    "Description", description)
                        .ok());
        EXPECT_EQ(description, "Provides support for remote administration, web and ftp services.");
        EXPECT_TRUE(boxes.boxes.empty());
    }
}

TEST_F(ServiceControlTest, CreationThatFailsStillWritesTheDescription) {
    machine.InstallService(upgrade::kImService, ServiceState::kStopped);
    control.CreateSuiteService(upgrade::kImService);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_NE(window.boxes[0].text.find(u"System error 1073"), std::u16string::npos);
    std::string description;
    EXPECT_TRUE(machine.registry
                    .ReadString(platform::RegistryRoot::kLocalMachine,
                                "System\\CurrentControlSet\\Services\\TolvaIM", "Description",
                                description)
                    .ok());
    EXPECT_FALSE(machine.services.FailureActionsOf("TolvaIM"));

    machine.services.RemoveExtendedConfig();
    control.CreateSuiteService(upgrade::kPop3Service);
    EXPECT_TRUE(machine.services.Exists("TolvaPOP3")) << "created without failure actions";
    EXPECT_EQ(window.boxes.size(), 1u);
}

TEST_F(ServiceControlTest, DeletionRemovesOnlyStoppedServicesOfTheTable) {
    machine.InstallService(kSmtpService, ServiceState::kStopped);
    machine.InstallService(upgrade::kPop3Service, ServiceState::kRunning);
    machine.InstallService(upgrade::kGroupWareService, ServiceState::kStopped);
    machine.InstallSystemSmtp(ServiceState::kStopped);
    control.DeleteStoppedServices();
    EXPECT_FALSE(machine.services.Exists("TolvaSMTP"));
    EXPECT_TRUE(machine.services.Exists("TolvaPOP3"));
    EXPECT_FALSE(machine.services.Exists("TolvaCalendar"));
    EXPECT_TRUE(machine.services.Exists("SMTPSVC"));

    control.DeleteSuiteService("TolvaMissing");
    EXPECT_TRUE(window.boxes.empty()) << "a missing service is no error";
    machine.services.Log().FailNext("MarkForDeletion", platform::error::kAccessDenied);
    control.DeleteSuiteService("TolvaPOP3");
    EXPECT_EQ(window.boxes.size(), 1u);
}

TEST_F(ServiceControlTest, DisableLeavesTheRestOfTheConfiguration) {
    machine.InstallSystemSmtp(ServiceState::kRunning);
    platform::ServiceConfig before = *machine.services.ConfigOf("SMTPSVC");
    control.DisableService("SMTPSVC");
    platform::ServiceConfig after = *machine.services.ConfigOf("SMTPSVC");
    EXPECT_EQ(after.startType, ServiceStartType::kDisabled);
    EXPECT_EQ(after.binaryPath, before.binaryPath);
    EXPECT_EQ(after.serviceType, before.serviceType);
    control.DisableService("NoSuchService");
    EXPECT_TRUE(window.boxes.empty()) << "failures are silent";
}

}  // namespace
}  // namespace tolva::winsys

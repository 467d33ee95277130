// The service steps and task messages against the real service manager of a Wine prefix, with the
// stand-ins installed as the suite's services.

#include <gtest/gtest.h>

#include <memory>

#include "suite_scenario_test.h"
#include "upgrade/service_table.h"
#include "upgrade/task_messages.h"
#include "upgrade/task_packet.h"
#include "util/text.h"
#include "winsys/com_registration.h"
#include "winsys/kill_process.h"

namespace tolva::winsys {
namespace {

namespace access = platform::service_access;
using platform::ServiceState;
using testing::SuiteFolder;
using upgrade::kServiceCount;
using upgrade::ServiceRowAt;

constexpr uint32_t kStartLimitMs = 20000;

class ServiceModeTest : public testing::SuiteScenarioTest {
protected:
    ServiceModeTest() : SuiteScenarioTest(platform::PlatformId::kWindowsNt) {}

    void EndPrograms() override {
        for (int index = 0; index < kServiceCount; ++index) {
            Remove(ServiceRowAt(index)->serviceName, ServiceRowAt(index)->executable);
        }
        Remove(upgrade::kSystemSmtpService, "smtpsvc.exe");
    }

    // Stops and deletes the service, whatever state the test left it in.
    void Remove(const char* name, const char* executable) {
        std::unique_ptr<platform::ServiceDatabase> database;
        std::unique_ptr<platform::Service> service;
        if (!platform.services->Connect(access::kManagerAll, database).ok() ||
            !database->Open(name, access::kAll, service).ok()) {
            return;
        }
        if (State(name) != ServiceState::kStopped) {
            (void)service->Stop();
            if (!suite.WaitFor([&] { return State(name) == ServiceState::kStopped; }, 10000)) {
                (void)KillProcessByName(*platform.processes, executable);
            }
        }
        (void)service->MarkForDeletion();
    }

    std::optional<ServiceState> State(const std::string& name) {
        return upgrade::GetServiceState(*platform.services, name).state;
    }

    bool AllRun(std::initializer_list<int> indexes) {
        return suite.WaitFor(
            [&] {
                for (int index : indexes) {
                    if (State(ServiceRowAt(index)->serviceName) != ServiceState::kRunning) {
                        return false;
                    }
                }
                return true;
            },
            kStartLimitMs);
    }

    std::string BinaryPath(const std::string& name) {
        std::unique_ptr<platform::ServiceDatabase> database;
        std::unique_ptr<platform::Service> service;
        platform::ServiceConfig config;
        if (!platform.services->Connect(access::kManagerConnect, database).ok() ||
            !database->Open(name, access::kQueryConfig, service).ok() ||
            !service->QueryConfig(config).ok()) {
            return {};
        }
        return config.binaryPath;
    }

    // The stand-in logs the packet when it has read it; the sender does not wait for that.
    bool EventuallyLogged(const std::string& name, const std::string& text) {
        return suite.WaitFor([&] { return suite.Logged(name, text); }, 5000);
    }
};

TEST_F(ServiceModeTest, FirstInstallationCreatesStartsAndMessagesTheSuite) {
    ServiceInstall install(platform, window, setup);
    install.SaveStartTypes();
    EXPECT_FALSE(install.StopRunningServices());
    EXPECT_FALSE(install.StopRunningServices()) << "absent services count as not stopped";
    install.InstallAndStartServices();
    ASSERT_TRUE(AllRun({0, 1, 2, 3, 4}));
    install.CheckStartedServices();
    install.RestoreStartTypes();
    EXPECT_TRUE(window.boxes.empty());

    for (int index = 0; index < kServiceCount; ++index) {
        const upgrade::ServiceRow& row = *ServiceRowAt(index);
        EXPECT_EQ(BinaryPath(row.serviceName),
                  std::string("\"") + SuiteFolder::kFolder + row.executable + "\"")
            << "quoted: the folder has a blank";
        std::string description;
        EXPECT_TRUE(
            platform.registry
                ->ReadString(platform::RegistryRoot::kLocalMachine,
                             std::string("System\\CurrentControlSet\\Services\\") + row.serviceName,
                             "Description", description)
                .ok());
        EXPECT_EQ(description, row.description);
        EXPECT_TRUE(suite.Logged(row.serviceName, std::string("start service ") + row.serviceName));
    }
    for (const char* progId :
         {"CorvaneServer.APIObject", "CorvaneServer.DomainObject", "CorvaneServer.AccountObject"}) {
        EXPECT_TRUE(platform.registry->KeyExists(classes, progId)) << progId;
    }
    EXPECT_TRUE(suite.Logged("api", "DllRegisterServer"));

    upgrade::TaskMessenger messenger(platform);
    for (int target : {0, 1, 2, 3, 4, 7, 8, 10, 12}) {
        EXPECT_TRUE(messenger.IsProgramRunning(target)) << target;
    }
    EXPECT_TRUE(messenger.PostTaskMessage(0, upgrade::kTaskMessage, 2, 21));
    EXPECT_TRUE(messenger.PostTaskMessage(4, upgrade::kTaskMessage, 3845, 28));
    EXPECT_EQ(messenger.SendTaskMessage(7, upgrade::kTaskMessage, 3, 0), 1);
    messenger.BroadcastConfigChange(nullptr);
    EXPECT_TRUE(
        EventuallyLogged("TolvaSMTP", "pipe task kind=4096 message=1280 code=2 argument=21"));
    EXPECT_TRUE(EventuallyLogged("TolvaCalendar",
                                 "pipe task kind=4096 message=1280 code=3845 argument=28"));
    EXPECT_TRUE(suite.Logged("TolvaControl", "pipe task kind=4099 message=1280 code=3 argument=0"));
    for (int index = 0; index < kServiceCount; ++index) {
        EXPECT_TRUE(EventuallyLogged(ServiceRowAt(index)->serviceName,
                                     "pipe task kind=4096 message=1280 code=257 argument=0"))
            << index;
    }

    // The control program's web pages, as the upgrade procedures call them.
    std::unique_ptr<platform::Connection> connection;
    ASSERT_TRUE(platform.network->Connect("127.0.0.1", suite.HttpPort(), 5000, connection).ok());
    std::string request =
        "GET /admin/tools/convert_imap_rules.html HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    ASSERT_TRUE(connection->SendAll(request.data(), request.size()).ok());
    std::string response(512, '\0');
    size_t got = 0;
    ASSERT_TRUE(connection->WaitReadable(5000));
    ASSERT_TRUE(connection->Receive(response.data(), response.size(), got).ok());
    EXPECT_EQ(response.substr(0, 15), "HTTP/1.0 200 OK");
    EXPECT_TRUE(suite.Logged("TolvaControl", "http GET /admin/tools/convert_imap_rules.html"));

    // An upgrade run over it stops every program, the control program first.
    ServiceSetup upgradeSetup = setup;
    upgradeSetup.isUpgrade = true;
    upgradeSetup.oldVersion = "9.0.5";
    ServiceInstall upgrade(platform, window, upgradeSetup);
    upgrade.SaveStartTypes();
    EXPECT_EQ(upgradeSetup.serviceStartTypes, (std::array<int32_t, 5>{2, 2, 2, 2, 2}));
    EXPECT_TRUE(upgrade.StopRunningServices());
    for (int index = 0; index < kServiceCount; ++index) {
        EXPECT_EQ(State(ServiceRowAt(index)->serviceName), ServiceState::kStopped) << index;
        EXPECT_TRUE(suite.Logged(ServiceRowAt(index)->serviceName, "control stop")) << index;
    }
    EXPECT_FALSE(messenger.PostTaskMessage(0, upgrade::kTaskMessage, 2, 22))
        << "a stopped program gets nothing";

    upgrade.Control().DeleteStoppedServices();
    for (int index = 0; index < kServiceCount; ++index) {
        EXPECT_FALSE(
            upgrade::GetServiceState(*platform.services, ServiceRowAt(index)->serviceName).present)
            << index;
    }
    EXPECT_TRUE(window.boxes.empty());
}

TEST_F(ServiceModeTest, ServiceThatRefusesToStopIsTerminatedByName) {
    suite.WriteStandinSettings("[TolvaIM]\r\nRefuseStop=1\r\n");
    ServiceControl control(platform, window, SuiteFolder::kFolder);
    control.CreateSuiteService(upgrade::kImService);
    ASSERT_TRUE(control.StartStopService(upgrade::kImService, true));
    ASSERT_TRUE(AllRun({upgrade::kImService}));

    uint32_t started = platform.system->Ticks();
    EXPECT_FALSE(control.StartStopService(upgrade::kImService, false));
    EXPECT_GE(platform.system->Ticks() - started,
              ServiceControl::kStopDeadlineMs + ServiceControl::kAfterKillMs);
    EXPECT_TRUE(suite.Logged("TolvaIM", "control stop refused"));
    EXPECT_TRUE(suite.WaitFor([&] { return suite.RunningStandins().empty(); }, 5000))
        << "terminated by the name of its executable";
    EXPECT_TRUE(window.boxes.empty());

    // Wine's service manager notices a terminated service only when it is started again (Windows
    // reports it stopped at once): start it once more, well-behaved, so that it can be removed.
    suite.WriteStandinSettings("");
    std::unique_ptr<platform::ServiceDatabase> database;
    std::unique_ptr<platform::Service> service;
    ASSERT_TRUE(platform.services->Connect(access::kManagerAll, database).ok());
    ASSERT_TRUE(database->Open("TolvaIM", access::kAll, service).ok());
    ASSERT_TRUE(service->Start().ok());
    ASSERT_TRUE(AllRun({upgrade::kImService}));
}

// A service that takes its time to stop is waited for within the deadline; one that stays
// start-pending counts as not started.
TEST_F(ServiceModeTest, SlowStopIsWaitedForAndStartPendingIsReported) {
    suite.WriteStandinSettings(
        "[TolvaIM]\r\nStopDelayMs=3000\r\n[TolvaPOP3]\r\nStayStartPending=1\r\n");
    ServiceInstall install(platform, window, setup);
    (void)install.StopRunningServices();
    (void)install.StopRunningServices();
    install.InstallAndStartServices();
    ASSERT_TRUE(AllRun({0, 2, 3, 4}));
    ASSERT_TRUE(suite.WaitFor([&] { return suite.Logged("TolvaPOP3", "staying start-pending"); },
                              kStartLimitMs));
    EXPECT_EQ(State("TolvaPOP3"), ServiceState::kStartPending);
    install.CheckStartedServices();
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].caption, u"Warning");
    EXPECT_NE(window.boxes[0].text.find(u"could not be started:\r\nCorvane POP3 / IMAP\r\n\r\n"),
              std::u16string::npos)
        << "only the start-pending service is listed";

    uint32_t started = platform.system->Ticks();
    EXPECT_TRUE(install.Control().StartStopService(upgrade::kImService, false));
    const uint32_t took = platform.system->Ticks() - started;
    EXPECT_GE(took, 3000u);
    EXPECT_LT(took, ServiceControl::kStopDeadlineMs);
    EXPECT_EQ(State("TolvaIM"), ServiceState::kStopped);
    EXPECT_TRUE(suite.Logged("TolvaIM", "stopped"));

    // A start-pending service takes no stop: end it, and start it once more, well-behaved, so that
    // it can be removed (Wine's service manager notices the end only at the next start).
    suite.WriteStandinSettings("");
    EXPECT_TRUE(KillProcessByName(*platform.processes, "pop3.exe"));
    std::unique_ptr<platform::ServiceDatabase> database;
    std::unique_ptr<platform::Service> service;
    ASSERT_TRUE(platform.services->Connect(access::kManagerAll, database).ok());
    ASSERT_TRUE(database->Open("TolvaPOP3", access::kAll, service).ok());
    for (int attempt = 0; attempt < 2 && !service->Start().ok(); ++attempt) {
        platform.system->SleepFor(500);
    }
    EXPECT_TRUE(AllRun({upgrade::kPop3Service}));
}

TEST_F(ServiceModeTest, DisabledServiceStaysDisabledAcrossTheUpgrade) {
    ServiceControl control(platform, window, SuiteFolder::kFolder);
    for (int index = 0; index < kServiceCount; ++index) {
        control.CreateSuiteService(index);
    }
    ASSERT_EQ(control.ExchangeStartType("TolvaPOP3", true, 4), 2);
    setup.isUpgrade = true;
    setup.oldVersion = "9.0.5";
    ServiceInstall install(platform, window, setup);

    install.SaveStartTypes();
    EXPECT_EQ(setup.serviceStartTypes, (std::array<int32_t, 5>{2, 4, 2, 2, 2}));
    EXPECT_EQ(install.Control().ExchangeStartType("TolvaPOP3", false, -1), 2);
    (void)install.StopRunningServices();
    EXPECT_TRUE(install.StopRunningServices());
    install.InstallAndStartServices();
    ASSERT_TRUE(AllRun({0, 2, 3, 4}));
    install.CheckStartedServices();
    install.RestoreStartTypes();

    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(State("TolvaPOP3"), ServiceState::kStopped);
    EXPECT_EQ(install.Control().ExchangeStartType("TolvaPOP3", false, -1), 4);
    EXPECT_EQ(install.Control().ExchangeStartType("TolvaSMTP", false, -1), 2);
}

TEST_F(ServiceModeTest, RunningSystemSmtpServiceIsMovedAsideForTheSuitesOwn) {
    uint16_t port = SuiteFolder::FreePort(*platform.network);
    std::string section = "]\r\nPort=" + std::to_string(port) + "\r\n";
    suite.WriteStandinSettings("[SMTPSVC" + section + "[TolvaSMTP" + section);
    std::unique_ptr<platform::ServiceDatabase> database;
    std::unique_ptr<platform::Service> systemSmtp;
    ASSERT_TRUE(platform.services->Connect(access::kManagerAll, database).ok());
    platform::NewService definition;
    definition.name = upgrade::kSystemSmtpService;
    definition.config.displayName = "Simple Mail Transfer Protocol (SMTP)";
    definition.config.binaryPath = std::string("\"") + SuiteFolder::kFolder + "smtpsvc.exe\"";
    ASSERT_TRUE(database->Create(definition, access::kAll, systemSmtp).ok());
    ASSERT_TRUE(systemSmtp->Start().ok());
    ASSERT_TRUE(
        suite.WaitFor([&] { return State("SMTPSVC") == ServiceState::kRunning; }, kStartLimitMs));

    // The suite's SMTP service cannot take its port.
    ServiceInstall install(platform, window, setup);
    install.Control().CreateSuiteService(upgrade::kSmtpService);
    EXPECT_TRUE(install.Control().StartStopService(upgrade::kSmtpService, true));
    std::string portTaken = "port " + std::to_string(port) + " in use: not started";
    ASSERT_TRUE(suite.WaitFor(
        [&] {
            return suite.Logged("TolvaSMTP", portTaken) &&
                   State("TolvaSMTP") == ServiceState::kStopped;
        },
        kStartLimitMs));

    install.CheckStartedServices();
    EXPECT_EQ(State("SMTPSVC"), ServiceState::kStopped);
    EXPECT_EQ(install.Control().ExchangeStartType("SMTPSVC", false, -1), 4) << "disabled";
    EXPECT_TRUE(AllRun({upgrade::kSmtpService}));
    EXPECT_EQ(window.boxes.size(), 1u) << "the other programs are not installed here";
}

TEST_F(ServiceModeTest, ComRegistrationAddsAndRemovesTheProgIds) {
    const std::string library = std::string(SuiteFolder::kFolder) + "corvanecom.dll";
    ASSERT_TRUE(RegisterComServer(*platform.automation, library));
    for (const char* progId :
         {"CorvaneServer.APIObject", "CorvaneServer.DomainObject", "CorvaneServer.AccountObject"}) {
        std::string classId;
        EXPECT_TRUE(
            platform.registry->ReadString(classes, std::string(progId) + "\\CLSID", "", classId)
                .ok())
            << progId;
        std::string server;
        EXPECT_TRUE(platform.registry
                        ->ReadString(classes, "CLSID\\" + classId + "\\InprocServer32", "", server)
                        .ok())
            << progId;
        EXPECT_TRUE(util::SameText(server, library)) << server;
    }
    ASSERT_TRUE(UnregisterComServer(*platform.automation, library));
    for (const char* progId :
         {"CorvaneServer.APIObject", "CorvaneServer.DomainObject", "CorvaneServer.AccountObject"}) {
        EXPECT_FALSE(platform.registry->KeyExists(classes, progId)) << progId;
    }
    const std::string api = std::string(SuiteFolder::kFolder) + "api.dll";
    EXPECT_TRUE(RegisterComServer(*platform.automation, api));
    EXPECT_TRUE(UnregisterComServer(*platform.automation, api));
    EXPECT_EQ(suite.LogLines("api"),
              (std::vector<std::string>{"DllRegisterServer", "DllUnregisterServer"}));
    EXPECT_FALSE(
        RegisterComServer(*platform.automation, std::string(SuiteFolder::kFolder) + "missing.dll"));
}

TEST_F(ServiceModeTest, UpgradeIntoAnotherFolderRecreatesTheServicesThere) {
    ServiceControl old(platform, window, "C:\\Old Tolva\\");
    for (int index = 0; index < kServiceCount; ++index) {
        old.CreateSuiteService(index);
    }
    setup.isUpgrade = true;
    setup.oldVersion = "9.0.5";
    setup.previousInstallDir = "C:\\Old Tolva\\";
    ServiceInstall install(platform, window, setup);
    install.SaveStartTypes();
    (void)install.StopRunningServices();
    (void)install.StopRunningServices();
    install.InstallAndStartServices();
    ASSERT_TRUE(AllRun({0, 1, 2, 3, 4}));

    EXPECT_EQ(setup.previousInstallDir, "");
    for (int index = 0; index < kServiceCount; ++index) {
        EXPECT_EQ(
            BinaryPath(ServiceRowAt(index)->serviceName),
            std::string("\"") + SuiteFolder::kFolder + ServiceRowAt(index)->executable + "\"");
    }
    EXPECT_TRUE(window.boxes.empty());
}

}  // namespace
}  // namespace tolva::winsys

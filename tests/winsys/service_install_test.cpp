#include "winsys/service_install.h"

#include <gtest/gtest.h>

#include "fakes/suite_machine.h"
#include "recording_window.h"

namespace tolva::winsys {
namespace {

using platform::FakeServiceScript;
using platform::ServiceStartType;
using platform::ServiceState;
namespace index = upgrade;

class ServiceInstallTest : public ::testing::Test {
protected:
    ServiceInstallTest() {
        setup.installFolder = "C:\\Tolva\\";
        machine.AddComLibraries();
    }

    // The install sequence's service steps, in its order.
    void RunSequence(ServiceInstall& install) {
        install.SaveStartTypes();
        (void)install.StopRunningServices();
        stopped = install.StopRunningServices();
        install.InstallAndStartServices();
        install.CheckStartedServices();
        install.RestoreStartTypes();
    }

    std::vector<std::string> Created() const { return machine.services.Log().SubjectsOf("Create"); }
    std::vector<std::string> Started() const { return machine.services.Log().SubjectsOf("Start"); }

    testing::SuiteMachine machine;
    RecordingWindow window;
    ServiceSetup setup;
    bool stopped = true;
};

TEST_F(ServiceInstallTest, FirstInstallationCreatesAndStartsWhatIsSelected) {
    struct Case {
        bool noInstallIM;
        bool noInstallCalendar;
        std::vector<std::string> services;
    } cases[] = {
        {false, false, {"TolvaSMTP", "TolvaPOP3", "TolvaControl", "TolvaIM", "TolvaCalendar"}},
        {true, false, {"TolvaSMTP", "TolvaPOP3", "TolvaControl", "TolvaCalendar"}},
        {false, true, {"TolvaSMTP", "TolvaPOP3", "TolvaControl", "TolvaIM"}},
    };
    for (const Case& c : cases) {
        testing::SuiteMachine local;
        local.AddComLibraries();
        ServiceSetup fresh;
        fresh.installFolder = "C:\\Tolva\\";
        fresh.noInstallIM = c.noInstallIM;
        fresh.noInstallCalendar = c.noInstallCalendar;
        RecordingWindow progress;
        ServiceInstall install(local.platform, progress, fresh);

        install.SaveStartTypes();
        EXPECT_FALSE(install.StopRunningServices()) << "absent services are not stopped";
        install.InstallAndStartServices();
        install.CheckStartedServices();
        install.RestoreStartTypes();

        EXPECT_EQ(local.services.Log().SubjectsOf("Create"), c.services);
        EXPECT_EQ(local.services.Log().SubjectsOf("Start"), c.services);
        for (const std::string& name : c.services) {
            EXPECT_EQ(local.services.StateOf(name), ServiceState::kRunning) << name;
        }
        EXPECT_TRUE(local.ApiObjectRegistered());
        EXPECT_TRUE(progress.boxes.empty());
        EXPECT_EQ(progress.progress,
                  (std::vector<std::u16string>{u"Checking For Running Services...",
                                               u"Installing Services...", u"Starting Services...",
                                               u"Finishing Installation..."}));
        EXPECT_EQ(fresh.serviceStartTypes, (std::array<int32_t, 5>{-1, -1, -1, -1, -1}));
    }
}

TEST_F(ServiceInstallTest, RunningProgramsStopControlFirstAndExistingServicesAreKept) {
    for (int i = 0; i < upgrade::kServiceCount; ++i) {
        machine.InstallService(i, ServiceState::kRunning);
    }
    setup.isUpgrade = true;
    setup.oldVersion = "9.0.5";
    ServiceInstall install(machine.platform, window, setup);
    RunSequence(install);

    EXPECT_TRUE(stopped);
    EXPECT_EQ(machine.services.Log().SubjectsOf("Stop"),
              (std::vector<std::string>{"TolvaControl", "TolvaSMTP", "TolvaPOP3", "TolvaIM",
                                        "TolvaCalendar"}));
    EXPECT_TRUE(Created().empty());
    EXPECT_EQ(Started().size(), 5u);
    EXPECT_EQ(window.pendingRuns, 2) << "once per stop pass";
    EXPECT_TRUE(window.boxes.empty());
}

TEST_F(ServiceInstallTest, ServiceThatNeedsASecondStopIsStoppedButReportedOnce) {
    machine.InstallService(index::kSmtpService, ServiceState::kRunning);
    // The first stop control is refused; the second is taken.
    machine.services.Log().FailNext("Stop", 1061, "TolvaSMTP");
    ServiceInstall install(machine.platform, window, setup);
    EXPECT_FALSE(install.StopRunningServices());
    EXPECT_EQ(machine.services.StateOf("TolvaSMTP"), ServiceState::kStopped);
    EXPECT_EQ(machine.services.Log().SubjectsOf("Stop").size(), 2u);
}

TEST_F(ServiceInstallTest, DisabledServiceIsAutomaticDuringTheUpgradeAndDisabledAfter) {
    for (int i = 0; i < upgrade::kServiceCount; ++i) {
        machine.InstallService(
            i, ServiceState::kStopped,
            i == index::kPop3Service ? ServiceStartType::kDisabled : ServiceStartType::kManual);
    }
    setup.isUpgrade = true;
    setup.oldVersion = "9.0.5";
    ServiceInstall install(machine.platform, window, setup);

    install.SaveStartTypes();
    EXPECT_EQ(setup.serviceStartTypes, (std::array<int32_t, 5>{3, 4, 3, 3, 3}));
    EXPECT_EQ(machine.services.ConfigOf("TolvaPOP3")->startType, ServiceStartType::kAutomatic);
    (void)install.StopRunningServices();
    install.InstallAndStartServices();
    install.CheckStartedServices();
    install.RestoreStartTypes();

    EXPECT_EQ(Started(),
              (std::vector<std::string>{"TolvaSMTP", "TolvaControl", "TolvaIM", "TolvaCalendar"}));
    EXPECT_TRUE(window.boxes.empty()) << "a service disabled before is not reported";
    EXPECT_EQ(machine.services.ConfigOf("TolvaPOP3")->startType, ServiceStartType::kDisabled);
    EXPECT_EQ(machine.services.ConfigOf("TolvaSMTP")->startType, ServiceStartType::kManual);
}

TEST_F(ServiceInstallTest, StartTypesAreLeftAloneOutsideAnUpgradeInServiceMode) {
    struct Case {
        const char* what;
        bool isUpgrade;
        platform::PlatformId platform;
    } cases[] = {
        {"new installation", false, platform::PlatformId::kWindowsNt},
        {"application mode", true, platform::PlatformId::kWindows9x},
    };
    for (const Case& c : cases) {
        testing::SuiteMachine local;
        local.system.SetPlatformId(c.platform);
        local.InstallService(index::kSmtpService, ServiceState::kStopped,
                             ServiceStartType::kDisabled);
        ServiceSetup state;
        state.isUpgrade = c.isUpgrade;
        state.serviceStartTypes = {2, 2, 2, 2, 2};
        RecordingWindow progress;
        ServiceInstall install(local.platform, progress, state);
        install.SaveStartTypes();
        install.RestoreStartTypes();
        EXPECT_EQ(state.serviceStartTypes, (std::array<int32_t, 5>{-1, -1, -1, -1, -1})) << c.what;
        EXPECT_EQ(local.services.ConfigOf("TolvaSMTP")->startType, ServiceStartType::kDisabled)
            << c.what;
    }
}

TEST_F(ServiceInstallTest, LeftOutProgramsKeepTheirSavedStartType) {
    for (int i = 0; i < upgrade::kServiceCount; ++i) {
        machine.InstallService(i, ServiceState::kStopped, ServiceStartType::kManual);
    }
    setup.isUpgrade = true;
    setup.noInstallIM = true;
    ServiceInstall install(machine.platform, window, setup);
    install.SaveStartTypes();
    // Changed meanwhile by hand; a left-out program's is not written back.
    for (const char* name : {"TolvaSMTP", "TolvaIM"}) {
        install.Control().DisableService(name);
    }
    install.RestoreStartTypes();
    EXPECT_EQ(machine.services.ConfigOf("TolvaSMTP")->startType, ServiceStartType::kManual);
    EXPECT_EQ(machine.services.ConfigOf("TolvaIM")->startType, ServiceStartType::kDisabled);
    // An installation that ends early gives every service back what it had.
    install.RestoreStartTypes(true);
    EXPECT_EQ(machine.services.ConfigOf("TolvaIM")->startType, ServiceStartType::kManual);
}

TEST_F(ServiceInstallTest, AnotherFolderRecreatesTheServicesForTheNewFolder) {
    struct Case {
        std::string previous;
        bool recreated;
    } cases[] = {
        {"D:\\Old Tolva\\", true},
        {"c:\\TOLVA\\", false},
        {"C:\\Tolva", false},
        {"", false},
    };
    for (const Case& c : cases) {
        testing::SuiteMachine local;
        for (int i = 0; i < upgrade::kServiceCount; ++i) {
            local.InstallService(i, ServiceState::kRunning, ServiceStartType::kAutomatic,
                                 "D:\\Old Tolva\\");
        }
        ServiceSetup state;
        state.installFolder = "C:\\Tolva\\";
        state.isUpgrade = true;
        state.oldVersion = "9.0.5";
        state.previousInstallDir = c.previous;
        RecordingWindow progress;
        ServiceInstall install(local.platform, progress, state);
        install.SaveStartTypes();
        (void)install.StopRunningServices();
        (void)install.StopRunningServices();
        install.InstallAndStartServices();

        EXPECT_EQ(local.services.Log().SubjectsOf("Create").size(), c.recreated ? 5u : 0u)
            << c.previous;
        EXPECT_EQ(local.services.ConfigOf("TolvaSMTP")->binaryPath,
                  c.recreated ? "C:\\Tolva\\smtp.exe" : "D:\\Old Tolva\\smtp.exe")
            << c.previous;
        EXPECT_EQ(state.previousInstallDir, c.recreated ? "" : c.previous);
        EXPECT_EQ(local.services.StateOf("TolvaCalendar"), ServiceState::kRunning) << c.previous;
    }
}

TEST_F(ServiceInstallTest, OldGroupWareGoesBeforeVersion817) {
    struct Case {
        const char* oldVersion;
        bool noInstallCalendar;
        bool deleted;
        bool fileDeleted;
    } cases[] = {
        {"8.1.6", false, true, true}, {"7.7.2", false, true, true}, {"8.1.7", false, false, false},
        {"9.0.5", true, true, false}, {"", false, false, false},
    };
    for (const Case& c : cases) {
        testing::SuiteMachine local;
        for (int i = 0; i < upgrade::kServiceCount; ++i) {
            local.InstallService(i, ServiceState::kStopped);
        }
        ASSERT_TRUE(local.files.CreateFolders("C:\\Tolva").ok());
        ASSERT_TRUE(local.files.WriteWholeFile("C:\\Tolva\\calendar.exe", "MZ").ok());
        ServiceSetup state;
        state.installFolder = "C:\\Tolva\\";
        state.isUpgrade = true;
        state.oldVersion = c.oldVersion;
        state.noInstallCalendar = c.noInstallCalendar;
        RecordingWindow progress;
        ServiceInstall install(local.platform, progress, state);
        (void)install.StopRunningServices();
        install.InstallAndStartServices();

        bool created = !c.noInstallCalendar && c.deleted;
        EXPECT_EQ(local.services.Log().SubjectsOf("Create"),
                  created ? std::vector<std::string>{"TolvaCalendar"} : std::vector<std::string>{})
            << c.oldVersion;
        EXPECT_EQ(local.services.Exists("TolvaCalendar"), !c.deleted || created) << c.oldVersion;
        EXPECT_EQ(local.files.FileExists("C:\\Tolva\\calendar.exe"), !c.fileDeleted)
            << c.oldVersion;
        if (created) {
            EXPECT_EQ(local.services.ConfigOf("TolvaCalendar")->binaryPath, "C:\\Tolva\\cal.exe");
        }
    }
}

TEST_F(ServiceInstallTest, LeftOutImServiceIsDeletedWhenStopped) {
    machine.InstallService(index::kImService, ServiceState::kRunning);
    setup.noInstallIM = true;
    ServiceInstall install(machine.platform, window, setup);
    (void)install.StopRunningServices();
    install.InstallAndStartServices();
    EXPECT_FALSE(machine.services.Exists("TolvaIM"));
    EXPECT_EQ(Created(), (std::vector<std::string>{"TolvaSMTP", "TolvaPOP3", "TolvaControl",
                                                   "TolvaCalendar"}));
}

TEST_F(ServiceInstallTest, RunningSystemSmtpIsStoppedAndDisabledForTheSuitesOwn) {
    for (int i = 0; i < upgrade::kServiceCount; ++i) {
        machine.InstallService(
            i, i == index::kSmtpService ? ServiceState::kStopped : ServiceState::kRunning);
    }
    machine.InstallSystemSmtp(ServiceState::kRunning);
    ServiceInstall install(machine.platform, window, setup);
    install.CheckStartedServices();

    EXPECT_EQ(machine.services.StateOf("SMTPSVC"), ServiceState::kStopped);
    EXPECT_EQ(machine.services.ConfigOf("SMTPSVC")->startType, ServiceStartType::kDisabled);
    EXPECT_EQ(machine.services.StateOf("TolvaSMTP"), ServiceState::kRunning);
    EXPECT_EQ(machine.system.Sleeps(), std::vector<uint32_t>{1500});
    EXPECT_TRUE(window.boxes.empty());
}

TEST_F(ServiceInstallTest, ProgramsThatDoNotRunAreListedInTheWarning) {
    machine.InstallService(index::kSmtpService, ServiceState::kRunning);
    machine.InstallService(index::kPop3Service, ServiceState::kStartPending);
    machine.InstallService(index::kControlService, ServiceState::kStopped);
    machine.InstallService(index::kGroupWareService, ServiceState::kStopped);
    machine.InstallSystemSmtp(ServiceState::kRunning);
    ServiceInstall install(machine.platform, window, setup);
    install.CheckStartedServices();

    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text,
              u"The following service(s) could not be started:\r\nCorvane POP3 / IMAP\r\n"
              u"Corvane Control / Web / FTP\r\nCorvane IM / VoIP\r\n\r\nThere must be already "
              u"running some other service(s) on the same TCP/IP port(s). Please, make sure no "
              u"other SMTP or POP3 servers are running (including MS SMTP and Norton POP3).");
    EXPECT_EQ(window.boxes[0].caption, u"Warning");
    EXPECT_EQ(window.boxes[0].icon, platform::DialogIcon::kWarning);
    EXPECT_TRUE(window.boxes[0].taskModal);
    EXPECT_EQ(machine.services.StateOf("SMTPSVC"), ServiceState::kRunning)
        << "left alone while the suite's SMTP service runs";
}

TEST_F(ServiceInstallTest, ServiceDisabledBeforeTheUpgradeIsNotListedWithTheFailedOnes) {
    machine.InstallService(index::kSmtpService, ServiceState::kStopped);
    machine.InstallService(index::kPop3Service, ServiceState::kStopped);
    machine.InstallService(index::kControlService, ServiceState::kRunning);
    machine.InstallService(index::kImService, ServiceState::kRunning);
    setup.serviceStartTypes = {2, 4, 2, 2, 2};
    ServiceInstall install(machine.platform, window, setup);
    install.CheckStartedServices();
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_NE(window.boxes[0].text.find(u"started:\r\nCorvane SMTP\r\n\r\nThere"),
              std::u16string::npos)
        << "only the SMTP service";
}

TEST_F(ServiceInstallTest, ApplicationModeClosesAndLaunchesWithoutServices) {
    machine.system.SetPlatformId(platform::PlatformId::kWindows9x);
    machine.InstallService(index::kSmtpService, ServiceState::kStopped);
    ASSERT_TRUE(machine.files.CreateFolders(setup.installFolder).ok());
    for (int i = 0; i < upgrade::kServiceCount; ++i) {
        ASSERT_TRUE(
            machine.files
                .WriteWholeFile(setup.installFolder + upgrade::ServiceRowAt(i)->executable, "MZ")
                .ok());
    }
    platform::WindowHandle control = machine.OpenProgram(index::kControlService);
    // A launched program opens its window, as the real ones do.
    machine.processes.SetLaunchHandler([&](const platform::FakeLaunch& launch) {
        for (int i = 0; i < upgrade::kServiceCount; ++i) {
            if (launch.file == setup.installFolder + upgrade::ServiceRowAt(i)->executable) {
                machine.OpenProgram(i);
            }
        }
        return platform::Status::Ok();
    });
    setup.noInstallIM = true;
    ServiceInstall install(machine.platform, window, setup);
    RunSequence(install);

    EXPECT_FALSE(stopped) << "always false in application mode";
    EXPECT_FALSE(machine.windows.Exists(control));
    EXPECT_EQ(machine.processes.Launches().size(), 4u);
    EXPECT_TRUE(window.boxes.empty());
    std::vector<std::string> used;
    for (const platform::FakeCall& call : machine.services.Log().Calls()) {
        used.push_back(call.operation);
    }
    EXPECT_TRUE(used.empty()) << "no service is created, deleted or asked";
    EXPECT_TRUE(machine.ApiObjectRegistered()) << "registered in both modes";
    EXPECT_EQ(window.progress,
              (std::vector<std::u16string>{u"Checking For Running Services...",
                                           u"Checking For Running Services...",
                                           u"Starting Services...", u"Finishing Installation..."}));
}

}  // namespace
}  // namespace tolva::winsys

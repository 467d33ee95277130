#pragma once
// A machine in memory for the tests of service control and task messages: the in-memory platform,
// where the suite's programs can be installed as services or opened as windows.

#include <memory>
#include <string>

#include "platform/fake/fake_platform.h"
#include "upgrade/service_table.h"

namespace tolva::testing {

struct SuiteMachine {
    // The row's service as an earlier installation into folder left it.
    void InstallService(
        int index, platform::ServiceState state,
        platform::ServiceStartType startType = platform::ServiceStartType::kAutomatic,
        const std::string& folder = "C:\\Tolva\\") {
        const upgrade::ServiceRow& row = *upgrade::ServiceRowAt(index);
        platform::NewService service;
        service.name = row.serviceName;
        service.config.displayName = row.displayName;
        service.config.binaryPath = folder + row.executable;
        service.config.startType = startType;
        services.Install(service, state);
    }

    void InstallSystemSmtp(platform::ServiceState state) {
        platform::NewService service;
        service.name = upgrade::kSystemSmtpService;
        service.config.displayName = "Simple Mail Transfer Protocol (SMTP)";
        service.config.binaryPath = "C:\\Windows\\System32\\inetsrv\\inetinfo.exe";
        services.Install(service, state);
    }

    // The suite's COM libraries in folder: api.dll with no class, corvanecom.dll with the server's
    // API object.
    void AddComLibraries(const std::string& folder = "C:\\Tolva\\") {
        automation.DefineLibrary(folder + "api.dll", {});
        automation.DefineLibrary(folder + "corvanecom.dll", {{"CorvaneServer.APIObject", {}}});
    }

    // Whether the server's API object can be created, as after corvanecom.dll was registered.
    bool ApiObjectRegistered() {
        std::unique_ptr<platform::AutomationObject> object;
        return automation.Create("CorvaneServer.APIObject", object).ok();
    }

    // The row's program running as an application: its process and its window.
    platform::WindowHandle OpenProgram(int index) {
        const upgrade::ServiceRow& row = *upgrade::ServiceRowAt(index);
        processes.Start(row.executable);
        return windows.Open(row.windowClass, row.windowCaption);
    }

    platform::FakePlatform fake;
    platform::Platform& platform = fake.Services();
    platform::FakeSystem& system = fake.System();
    platform::MemoryFileSystem& files = fake.Files();
    platform::FakeRegistry& registry = fake.Registry();
    platform::FakeLibraries& libraries = fake.Libraries();
    platform::FakeProcesses& processes = fake.Processes();
    platform::FakeServiceManager& services = fake.ServiceManager();
    platform::FakeWindows& windows = fake.Windows();
    platform::FakePipes& pipes = fake.Pipes();
    platform::FakeAutomation& automation = fake.Automation();
};

}  // namespace tolva::testing

#pragma once
// The platform of a Linux run: real files, time, libraries and network under one host root, and
// the Windows-only services (registry, message boxes, automation objects, services, windows, pipes,
// processes) in memory; the services no fake exists for yet, unavailable.

#include <string>

#include "platform/fake/fake_automation.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_pipes.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_service_manager.h"
#include "platform/fake/fake_windows.h"
#include "platform/host/host_file_system.h"
#include "platform/host/host_libraries.h"
#include "platform/host/host_system.h"
#include "platform/host/network_host.h"
#include "platform/platform.h"
#include "platform/unavailable/unavailable_services.h"

namespace tolva::platform {

class HostPlatform {
public:
    // root: the host folder that stands for the machine's drives ("C:\" is "<root>/c/").
    explicit HostPlatform(const std::string& root);
    HostPlatform(const HostPlatform&) = delete;
    HostPlatform& operator=(const HostPlatform&) = delete;

    Platform& Services() { return platform_; }
    const HostPathMap& Paths() const { return paths_; }
    FakeRegistry& Registry() { return registry_; }
    FakeDialogs& Dialogs() { return dialogs_; }
    FakeAutomation& Automation() { return automation_; }
    FakeServiceManager& ServiceManager() { return services_; }
    FakeWindows& Windows() { return windows_; }
    FakePipes& Pipes() { return pipes_; }
    FakeProcesses& Processes() { return processes_; }

private:
    HostPathMap paths_;
    HostFileSystem files_;
    HostSystem system_;
    HostLibraries libraries_;
    FakeRegistry registry_;
    FakeDialogs dialogs_;
    FakeAutomation automation_;
    host::HostNetwork network_;
    FakeProcesses processes_{&files_};
    FakeServiceManager services_{&processes_};
    FakeWindows windows_;
    FakePipes pipes_;
    UnavailableServices unavailable_;
    Platform platform_;
};

}  // namespace tolva::platform

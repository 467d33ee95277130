#pragma once
// The platform of native tests of the layers above: files, registry, clock, libraries, message
// boxes, automation objects, services, windows, pipes, processes and the shell in memory, each
// scriptable and behaving as Windows does; the machine's own network, for the loopback peers the
// tests run.
// Folders must be created before files go into them; "C:\", the temporary and the Windows folders
// and the shell's special folders exist from the start.

#include <memory>

#include "platform/fake/fake_automation.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_libraries.h"
#include "platform/fake/fake_pipes.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_service_manager.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_windows.h"
#include "platform/fake/memory_file_system.h"
#include "platform/platform.h"

namespace tolva::platform {

class FakePlatform {
public:
    FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    Platform& Services() { return platform_; }
    MemoryFileSystem& Files() { return files_; }
    FakeRegistry& Registry() { return registry_; }
    FakeSystem& System() { return system_; }
    FakeLibraries& Libraries() { return libraries_; }
    FakeDialogs& Dialogs() { return dialogs_; }
    FakeAutomation& Automation() { return automation_; }
    FakeServiceManager& ServiceManager() { return services_; }
    FakeWindows& Windows() { return windows_; }
    FakePipes& Pipes() { return pipes_; }
    FakeProcesses& Processes() { return processes_; }
    FakeShell& Shell() { return shell_; }

private:
    FakeSystem system_;
    MemoryFileSystem files_{MemoryFileSystem::Folders::kMustBeCreated,
                            {system_.TempFolder(), system_.WindowsFolder()}};
    FakeRegistry registry_;
    FakeLibraries libraries_{files_};
    FakeDialogs dialogs_;
    FakeAutomation automation_;
    // A running service has a process; the processes launch what the files hold.
    FakeProcesses processes_{&files_};
    FakeServiceManager services_{&processes_};
    FakeWindows windows_;
    FakePipes pipes_;
    // Its special folders exist from the start.
    FakeShell shell_{files_};
    std::unique_ptr<Network> network_;
    Platform platform_;
};

}  // namespace tolva::platform

#pragma once
// A machine in memory for the tests of service control and task messages: every platform service
// they use is a fake, and the suite's programs can be installed as services or opened as windows.

#include <map>
#include <string>
#include <vector>

#include "platform/fake/fake_automation.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_pipes.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_service_manager.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_windows.h"
#include "platform/fake/memory_file_system.h"
#include "platform/platform.h"
#include "upgrade/service_table.h"

namespace tolva::testing {

// Libraries that exist only as far as a test declares them: a path and the entry points it
// exports, each a function of the test.
class DeclaredLibraries : public platform::Libraries {
public:
    void Declare(std::string path, std::map<std::string, void*> exports) {
        libraries_[std::move(path)] = std::move(exports);
    }
    platform::Status Load(std::string_view path, platform::LibraryHandle& handle) override {
        auto found = libraries_.find(std::string(path));
        if (found == libraries_.end()) {
            return platform::Status::Failure(platform::error::kFileNotFound, std::string(path));
        }
        loaded_.push_back(found->first);
        handle = &found->second;
        return platform::Status::Ok();
    }
    void* Lookup(platform::LibraryHandle handle, std::string_view entryPoint) const override {
        auto* exports = static_cast<std::map<std::string, void*>*>(handle);
        auto found = exports->find(std::string(entryPoint));
        return found == exports->end() ? nullptr : found->second;
    }
    void Free(platform::LibraryHandle) override { ++freed_; }
    std::string CurrentFolder() const override { return "C:\\"; }
    platform::Status SetCurrentFolder(std::string_view) override { return platform::Status::Ok(); }

    const std::vector<std::string>& Loaded() const { return loaded_; }
    int Freed() const { return freed_; }

private:
    std::map<std::string, std::map<std::string, void*>> libraries_;
    std::vector<std::string> loaded_;
    int freed_ = 0;
};

struct SuiteMachine {
    SuiteMachine() {
        platform.files = &files;
        platform.registry = &registry;
        platform.system = &system;
        platform.libraries = &libraries;
        platform.dialogs = &dialogs;
        platform.services = &services;
        platform.windows = &windows;
        platform.pipes = &pipes;
        platform.processes = &processes;
        platform.automation = &automation;
    }
    SuiteMachine(const SuiteMachine&) = delete;
    SuiteMachine& operator=(const SuiteMachine&) = delete;

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

    platform::FakeSystem system;
    platform::MemoryFileSystem files;
    platform::FakeRegistry registry;
    DeclaredLibraries libraries;
    platform::FakeDialogs dialogs;
    platform::FakeProcesses processes{&files};
    platform::FakeServiceManager services{&processes};
    platform::FakeWindows windows;
    platform::FakePipes pipes;
    platform::FakeAutomation automation;
    platform::Platform platform;
};

}  // namespace tolva::testing

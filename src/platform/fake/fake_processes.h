#pragma once
// Processes in memory: a test starts and ends them, the code under test lists, terminates and
// launches them. Every call is recorded in the call log.

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/fake/fake_calls.h"
#include "platform/file_system.h"
#include "platform/processes.h"

namespace tolva::platform {

struct FakeLaunch {
    std::string file;
    std::string parameters;
    std::string workingFolder;
    ShowCommand show = ShowCommand::kNormal;

    bool operator==(const FakeLaunch&) const = default;
};

class FakeProcesses : public Processes {
public:
    using EndObserver = std::function<void(uint32_t id)>;
    // Decides what a launch does; by default it starts a process named after the file.
    using LaunchHandler = std::function<Status(const FakeLaunch&)>;

    // files may be null; with it, launching a file that does not exist fails as on Windows.
    explicit FakeProcesses(const FileSystem* files = nullptr);

    Status List(std::vector<ProcessInfo>& processes) const override;
    // error::kInvalidParameter for an id that does not run, as opening it fails on Windows;
    // error::kAccessDenied for a protected one.
    Status Terminate(uint32_t processId, uint32_t exitCode) override;
    Status EnablePrivilege(std::string_view name) override;
    Status Launch(std::string_view file, std::string_view parameters,
                  std::string_view workingFolder, ShowCommand show) override;
    Status LimitToFirstProcessor(bool firstOnly) override;
    // Names are held by every claim made through this object, as by processes of one machine.
    Status ClaimInstance(std::string_view name, std::unique_ptr<InstanceClaim>& claim) override;

    // Starts a process; returns its id.
    uint32_t Start(std::string baseName);
    // The process ends by itself (nothing happens when it does not run).
    void End(uint32_t id);
    bool IsRunning(uint32_t id) const;
    // Ids of the running processes with that base name.
    std::vector<uint32_t> IdsOf(std::string_view baseName) const;
    // Terminate is refused for that process.
    void Protect(uint32_t id);
    // Told of every process that ends, however it ends.
    void ObserveEnds(EndObserver observer) { observers_.push_back(std::move(observer)); }
    void SetLaunchHandler(LaunchHandler handler) { launchHandler_ = std::move(handler); }

    FakeCallLog& Log() { return log_; }
    const FakeCallLog& Log() const { return log_; }
    const std::vector<FakeLaunch>& Launches() const { return launches_; }
    // Exit codes given to Terminate, by id.
    const std::vector<std::pair<uint32_t, uint32_t>>& Terminations() const { return terminations_; }
    const std::vector<std::string>& EnabledPrivileges() const { return privileges_; }
    bool FirstProcessorOnly() const { return firstProcessorOnly_; }

private:
    struct Process {
        uint32_t id = 0;
        std::string baseName;
        bool isProtected = false;
    };

    const FileSystem* files_;
    mutable FakeCallLog log_;
    std::vector<Process> processes_;
    uint32_t nextId_ = 1000;
    std::vector<EndObserver> observers_;
    LaunchHandler launchHandler_;
    std::vector<FakeLaunch> launches_;
    std::vector<std::pair<uint32_t, uint32_t>> terminations_;
    std::vector<std::string> privileges_;
    bool firstProcessorOnly_ = false;
    // Shared with the claims, which may outlive this object.
    std::shared_ptr<std::set<std::string>> claimedNames_ =
        std::make_shared<std::set<std::string>>();
};

// The file name at the end of a path: "C:\a b\smtp.exe" gives "smtp.exe".
std::string BaseNameOf(std::string_view path);

}  // namespace tolva::platform

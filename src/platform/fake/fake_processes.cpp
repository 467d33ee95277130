#include "platform/fake/fake_processes.h"

#include <algorithm>

namespace tolva::platform {

namespace {

// ERROR_NO_SUCH_PRIVILEGE.
constexpr uint32_t kNoSuchPrivilege = 1313;

}  // namespace

std::string BaseNameOf(std::string_view path) {
    size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

FakeProcesses::FakeProcesses(const FileSystem* files) : files_(files) {
    launchHandler_ = [this](const FakeLaunch& launch) {
        Start(BaseNameOf(launch.file));
        return Status::Ok();
    };
}

Status FakeProcesses::List(std::vector<ProcessInfo>& processes) const {
    processes.clear();
    Status status = log_.Record("List", "");
    if (!status) {
        return status;
    }
    for (const Process& process : processes_) {
        processes.push_back(ProcessInfo{process.id, process.baseName});
    }
    return Status::Ok();
}

Status FakeProcesses::Terminate(uint32_t processId, uint32_t exitCode) {
    Status status = log_.Record("Terminate", std::to_string(processId));
    if (!status) {
        return status;
    }
    auto found = std::find_if(processes_.begin(), processes_.end(),
                              [&](const Process& process) { return process.id == processId; });
    if (found == processes_.end()) {
        return Status::Failure(error::kInvalidParameter,
                               "open process " + std::to_string(processId));
    }
    if (found->isProtected) {
        return Status::Failure(error::kAccessDenied, "terminate " + std::to_string(processId));
    }
    terminations_.emplace_back(processId, exitCode);
    End(processId);
    return Status::Ok();
}

Status FakeProcesses::EnablePrivilege(std::string_view name) {
    Status status = log_.Record("EnablePrivilege", name);
    if (!status) {
        return status;
    }
    if (!name.starts_with("Se") || !name.ends_with("Privilege")) {
        return Status::Failure(kNoSuchPrivilege, "look up privilege " + std::string(name));
    }
    privileges_.emplace_back(name);
    return Status::Ok();
}

Status FakeProcesses::Launch(std::string_view file, std::string_view parameters,
                             std::string_view workingFolder, ShowCommand show) {
    Status status = log_.Record("Launch", file);
    if (!status) {
        return status;
    }
    launches_.push_back(
        FakeLaunch{std::string(file), std::string(parameters), std::string(workingFolder), show});
    if (files_ != nullptr && !files_->FileExists(file)) {
        return Status::Failure(error::kFileNotFound, "launch " + std::string(file));
    }
    return launchHandler_(launches_.back());
}

Status FakeProcesses::LimitToFirstProcessor(bool firstOnly) {
    Status status = log_.Record("LimitToFirstProcessor", firstOnly ? "first" : "all");
    if (status) {
        firstProcessorOnly_ = firstOnly;
    }
    return status;
}

namespace {

class FakeClaim : public InstanceClaim {
public:
    FakeClaim(std::shared_ptr<std::set<std::string>> names, std::string name)
        : names_(std::move(names)), name_(std::move(name)) {}
    ~FakeClaim() override { names_->erase(name_); }

private:
    std::shared_ptr<std::set<std::string>> names_;
    std::string name_;
};

}  // namespace

Status FakeProcesses::ClaimInstance(std::string_view name, std::unique_ptr<InstanceClaim>& claim) {
    claim.reset();
    if (Status status = log_.Record("ClaimInstance", name); !status) {
        return status;
    }
    // Kernel object names are case-sensitive.
    if (!claimedNames_->insert(std::string(name)).second) {
        return Status::Failure(error::kAlreadyExists, "claim " + std::string(name));
    }
    claim = std::make_unique<FakeClaim>(claimedNames_, std::string(name));
    return Status::Ok();
}

uint32_t FakeProcesses::Start(std::string baseName) {
    // Windows hands out process ids in steps of four.
    nextId_ += 4;
    processes_.push_back(Process{nextId_, std::move(baseName)});
    return nextId_;
}

void FakeProcesses::End(uint32_t id) {
    auto found = std::find_if(processes_.begin(), processes_.end(),
                              [&](const Process& process) { return process.id == id; });
    if (found == processes_.end()) {
        return;
    }
    processes_.erase(found);
    for (const EndObserver& observer : observers_) {
        observer(id);
    }
}

bool FakeProcesses::IsRunning(uint32_t id) const {
    return std::any_of(processes_.begin(), processes_.end(),
                       [&](const Process& process) { return process.id == id; });
}

std::vector<uint32_t> FakeProcesses::IdsOf(std::string_view baseName) const {
    std::vector<uint32_t> ids;
    for (const Process& process : processes_) {
        if (SameName(process.baseName, baseName)) {
            ids.push_back(process.id);
        }
    }
    return ids;
}

void FakeProcesses::Protect(uint32_t id) {
    for (Process& process : processes_) {
        if (process.id == id) {
            process.isProtected = true;
        }
    }
}

}  // namespace tolva::platform

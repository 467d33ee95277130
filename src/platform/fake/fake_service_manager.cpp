#include "platform/fake/fake_service_manager.h"

#include <algorithm>

namespace tolva::platform {

struct FakeServiceManager::Record {
    NewService definition;
    ServiceState state = ServiceState::kStopped;
    FakeServiceScript script;
    uint32_t pendingReads = 0;
    std::optional<ServiceFailureActions> failureActions;
    bool markedForDeletion = false;
    int handles = 0;
    uint32_t processId = 0;
};

namespace {

Status Need(uint32_t granted, uint32_t right, const std::string& what) {
    if ((granted & right) != right) {
        return Status::Failure(error::kAccessDenied, what);
    }
    return Status::Ok();
}

// The executable a service's command line names: quoted, or up to its ".exe".
std::string ExecutableOf(std::string_view commandLine) {
    if (!commandLine.empty() && commandLine.front() == '"') {
        commandLine.remove_prefix(1);
        return BaseNameOf(commandLine.substr(0, commandLine.find('"')));
    }
    for (size_t i = 0; i + 4 <= commandLine.size(); ++i) {
        if (SameName(commandLine.substr(i, 4), ".exe")) {
            return BaseNameOf(commandLine.substr(0, i + 4));
        }
    }
    return BaseNameOf(commandLine);
}

}  // namespace

class FakeServiceManager::Handle : public Service {
public:
    Handle(FakeServiceManager& manager, Record& record, uint32_t access)
        : manager_(manager), record_(record), access_(access) {
        ++record_.handles;
        ++manager_.openHandles_;
    }
    ~Handle() override {
        --record_.handles;
        --manager_.openHandles_;
        manager_.RemoveIfDue(record_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    Status Start() override {
        Status status = Begin("Start", service_access::kStart);
        return status ? manager_.StartService(record_) : status;
    }

    Status Stop() override {
        Status status = Begin("Stop", service_access::kStop);
        return status ? manager_.StopService(record_) : status;
    }

    Status QueryState(ServiceState& state) override {
        Status status = Begin("QueryState", service_access::kQueryStatus);
        if (status) {
            state = manager_.ReadState(record_);
        }
        return status;
    }

    Status QueryConfig(ServiceConfig& config) override {
        Status status = Begin("QueryConfig", service_access::kQueryConfig);
        if (status) {
            config = record_.definition.config;
        }
        return status;
    }

    Status ChangeConfig(const ServiceConfigChange& change) override {
        Status status = Begin("ChangeConfig", service_access::kChangeConfig);
        if (!status) {
            return status;
        }
        if (record_.markedForDeletion) {
            return Status::Failure(error::kServiceMarkedForDelete, "change " + Name());
        }
        ServiceConfig& config = record_.definition.config;
        config.serviceType = change.serviceType.value_or(config.serviceType);
        config.startType = change.startType.value_or(config.startType);
        config.errorControl = change.errorControl.value_or(config.errorControl);
        return Status::Ok();
    }

    Status SetFailureActions(const ServiceFailureActions& actions) override {
        if (!manager_.hasExtendedConfig_) {
            return Status::Failure(error::kProcNotFound, "extended service configuration");
        }
        Status status = Begin("SetFailureActions", service_access::kChangeConfig);
        if (!status) {
            return status;
        }
        // Windows asks for the start right as well when an action restarts the service.
        bool restarts = std::any_of(
            actions.actions.begin(), actions.actions.end(),
            [](const ServiceFailureAction& a) { return a.recovery == ServiceRecovery::kRestart; });
        if (restarts) {
            status = Need(access_, service_access::kStart, "restart action for " + Name());
            if (!status) {
                return status;
            }
        }
        record_.failureActions = actions;
        return Status::Ok();
    }

    Status MarkForDeletion() override {
        Status status = Begin("MarkForDeletion", service_access::kDelete);
        if (!status) {
            return status;
        }
        if (record_.markedForDeletion) {
            return Status::Failure(error::kServiceMarkedForDelete, "delete " + Name());
        }
        record_.markedForDeletion = true;
        return Status::Ok();
    }

private:
    const std::string& Name() const { return record_.definition.name; }

    Status Begin(const char* operation, uint32_t right) {
        Status status = manager_.log_.Record(operation, Name());
        return status ? Need(access_, right, std::string(operation) + " " + Name()) : status;
    }

    FakeServiceManager& manager_;
    Record& record_;
    uint32_t access_;
};

class FakeServiceManager::Database : public ServiceDatabase {
public:
    Database(FakeServiceManager& manager, uint32_t access) : manager_(manager), access_(access) {
        ++manager_.openHandles_;
    }
    ~Database() override { --manager_.openHandles_; }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    Status Open(std::string_view name, uint32_t access,
                std::unique_ptr<Service>& service) override {
        service.reset();
        manager_.openings_.emplace_back(std::string(name), access);
        Status status = manager_.log_.Record("Open", name);
        if (!status) {
            return status;
        }
        Record* record = manager_.Find(name);
        if (record == nullptr) {
            return Status::Failure(error::kServiceDoesNotExist, "open " + std::string(name));
        }
        service = std::make_unique<Handle>(manager_, *record, access);
        return Status::Ok();
    }

    Status Create(const NewService& definition, uint32_t access,
                  std::unique_ptr<Service>& service) override {
        service.reset();
        Status status = manager_.log_.Record("Create", definition.name);
        if (status) {
            status =
                Need(access_, service_access::kManagerCreateService, "create " + definition.name);
        }
        Record* record = nullptr;
        if (status) {
            status = manager_.Create(definition, record);
        }
        if (status) {
            service = std::make_unique<Handle>(manager_, *record, access);
        }
        return status;
    }

private:
    FakeServiceManager& manager_;
    uint32_t access_;
};

FakeServiceManager::FakeServiceManager(FakeProcesses* processes)
    : processes_(processes), self_(std::make_shared<FakeServiceManager*>(this)) {
    if (processes_ != nullptr) {
        std::weak_ptr<FakeServiceManager*> self = self_;
        processes_->ObserveEnds([self](uint32_t id) {
            if (auto manager = self.lock()) {
                (*manager)->ProcessEnded(id);
            }
        });
    }
}

FakeServiceManager::~FakeServiceManager() = default;

Status FakeServiceManager::Connect(uint32_t access, std::unique_ptr<ServiceDatabase>& database) {
    database.reset();
    openings_.emplace_back(std::string(), access);
    Status status = log_.Record("Connect", "");
    if (status) {
        database = std::make_unique<Database>(*this, access);
    }
    return status;
}

void FakeServiceManager::Install(const NewService& definition, ServiceState state) {
    Record* record = nullptr;
    if (Create(definition, record) && state != ServiceState::kStopped) {
        record->state = state;
        // Found pending, it stays so.
        record->pendingReads = FakeServiceScript::kForever;
        if (processes_ != nullptr) {
            record->processId = processes_->Start(ExecutableOf(definition.config.binaryPath));
        }
    }
}

void FakeServiceManager::Script(std::string_view name, const FakeServiceScript& script) {
    if (Record* record = Find(name)) {
        record->script = script;
    }
}

bool FakeServiceManager::Exists(std::string_view name) const {
    return Find(name) != nullptr;
}

std::optional<ServiceState> FakeServiceManager::StateOf(std::string_view name) const {
    const Record* record = Find(name);
    return record == nullptr ? std::nullopt : std::optional(record->state);
}

std::optional<ServiceConfig> FakeServiceManager::ConfigOf(std::string_view name) const {
    const Record* record = Find(name);
    return record == nullptr ? std::nullopt : std::optional(record->definition.config);
}

std::optional<ServiceFailureActions> FakeServiceManager::FailureActionsOf(
    std::string_view name) const {
    const Record* record = Find(name);
    return record == nullptr ? std::nullopt : record->failureActions;
}

bool FakeServiceManager::IsMarkedForDeletion(std::string_view name) const {
    const Record* record = Find(name);
    return record != nullptr && record->markedForDeletion;
}

FakeServiceManager::Record* FakeServiceManager::Find(std::string_view name) const {
    for (const auto& record : services_) {
        if (SameName(record->definition.name, name)) {
            return record.get();
        }
    }
    return nullptr;
}

Status FakeServiceManager::Create(const NewService& definition, Record*& created) {
    if (Record* existing = Find(definition.name)) {
        return Status::Failure(
            existing->markedForDeletion ? error::kServiceMarkedForDelete : error::kServiceExists,
            "create " + definition.name);
    }
    if (definition.name.empty() || definition.config.binaryPath.empty()) {
        return Status::Failure(error::kInvalidParameter, "create " + definition.name);
    }
    services_.push_back(std::make_unique<Record>());
    created = services_.back().get();
    created->definition = definition;
    return Status::Ok();
}

Status FakeServiceManager::StartService(Record& record) {
    const std::string& name = record.definition.name;
    if (record.markedForDeletion) {
        return Status::Failure(error::kServiceMarkedForDelete, "start " + name);
    }
    if (record.definition.config.startType == ServiceStartType::kDisabled) {
        return Status::Failure(error::kServiceDisabled, "start " + name);
    }
    if (record.state != ServiceState::kStopped) {
        return Status::Failure(error::kServiceAlreadyRunning, "start " + name);
    }
    if (processes_ != nullptr) {
        record.processId = processes_->Start(ExecutableOf(record.definition.config.binaryPath));
    }
    if (record.script.endsAfterStart) {
        Stopped(record);
    } else if (record.script.startPendingReads > 0) {
        record.state = ServiceState::kStartPending;
        record.pendingReads = record.script.startPendingReads;
    } else {
        record.state = ServiceState::kRunning;
    }
    return Status::Ok();
}

Status FakeServiceManager::StopService(Record& record) {
    const std::string& name = record.definition.name;
    if (record.state == ServiceState::kStopped) {
        return Status::Failure(error::kServiceNotActive, "stop " + name);
    }
    if (record.state != ServiceState::kRunning || !record.script.acceptsStop) {
        return Status::Failure(error::kServiceCannotAcceptControl, "stop " + name);
    }
    if (record.script.stopPendingReads > 0) {
        record.state = ServiceState::kStopPending;
        record.pendingReads = record.script.stopPendingReads;
    } else {
        Stopped(record);
    }
    return Status::Ok();
}

ServiceState FakeServiceManager::ReadState(Record& record) {
    bool pending =
        record.state == ServiceState::kStartPending || record.state == ServiceState::kStopPending;
    if (!pending) {
        return record.state;
    }
    if (record.pendingReads == 0) {
        if (record.state == ServiceState::kStartPending) {
            record.state = ServiceState::kRunning;
        } else {
            Stopped(record);
        }
        return record.state;
    }
    if (record.pendingReads != FakeServiceScript::kForever) {
        --record.pendingReads;
    }
    return record.state;
}

void FakeServiceManager::Stopped(Record& record) {
    record.state = ServiceState::kStopped;
    uint32_t id = std::exchange(record.processId, 0);
    if (processes_ != nullptr && id != 0) {
        processes_->End(id);
    }
    RemoveIfDue(record);
}

void FakeServiceManager::ProcessEnded(uint32_t id) {
    for (const auto& record : services_) {
        if (record->processId == id) {
            record->processId = 0;
            Stopped(*record);
            return;
        }
    }
}

void FakeServiceManager::RemoveIfDue(Record& record) {
    if (!record.markedForDeletion || record.state != ServiceState::kStopped || record.handles > 0) {
        return;
    }
    std::erase_if(services_, [&](const auto& held) { return held.get() == &record; });
}

}  // namespace tolva::platform

#pragma once
// The service control manager in memory. Services move between their states as a script says, so
// tests can have one that never stops or stays start-pending; a running service has a process in
// the FakeProcesses it was given, and ends when that process is terminated. Access rights are
// checked as Windows checks them, and every call is recorded.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/fake/fake_calls.h"
#include "platform/fake/fake_processes.h"
#include "platform/service_manager.h"

namespace tolva::platform {

// How a service answers a start and the stop control. A pending state lasts for that many reads
// of the state; kForever: it never ends.
struct FakeServiceScript {
    static constexpr uint32_t kForever = UINT32_MAX;
    uint32_t startPendingReads = 0;
    uint32_t stopPendingReads = 0;
    // The program ends as soon as it has started (its port is taken, say).
    bool endsAfterStart = false;
    // false: the stop control is refused with error::kServiceCannotAcceptControl.
    bool acceptsStop = true;
};

class FakeServiceManager : public ServiceManager {
public:
    // processes may be null: services then run without a process.
    explicit FakeServiceManager(FakeProcesses* processes = nullptr);
    ~FakeServiceManager() override;
    FakeServiceManager(const FakeServiceManager&) = delete;
    FakeServiceManager& operator=(const FakeServiceManager&) = delete;

    Status Connect(uint32_t access, std::unique_ptr<ServiceDatabase>& database) override;

    // A service another program installed, in any state; a pending state lasts.
    void Install(const NewService& definition, ServiceState state = ServiceState::kStopped);
    void Script(std::string_view name, const FakeServiceScript& script);
    // The system lacks the extended configuration call (failure actions).
    void RemoveExtendedConfig() { hasExtendedConfig_ = false; }

    bool Exists(std::string_view name) const;
    // Read without counting as a read of the state.
    std::optional<ServiceState> StateOf(std::string_view name) const;
    std::optional<ServiceConfig> ConfigOf(std::string_view name) const;
    std::optional<ServiceFailureActions> FailureActionsOf(std::string_view name) const;
    bool IsMarkedForDeletion(std::string_view name) const;
    // Service and database handles not yet closed.
    int OpenHandles() const { return openHandles_; }
    // Connect and Open calls with the rights asked for: an empty name for the manager.
    const std::vector<std::pair<std::string, uint32_t>>& Openings() const { return openings_; }

    FakeCallLog& Log() { return log_; }
    const FakeCallLog& Log() const { return log_; }

private:
    class Database;
    class Handle;
    struct Record;

    Record* Find(std::string_view name) const;
    Status Create(const NewService& definition, Record*& created);
    Status StartService(Record& record);
    Status StopService(Record& record);
    ServiceState ReadState(Record& record);
    void Stopped(Record& record);
    void ProcessEnded(uint32_t id);
    // A service marked for deletion goes once it is stopped and no handle is open.
    void RemoveIfDue(Record& record);

    FakeProcesses* processes_;
    std::vector<std::unique_ptr<Record>> services_;
    bool hasExtendedConfig_ = true;
    int openHandles_ = 0;
    std::vector<std::pair<std::string, uint32_t>> openings_;
    FakeCallLog log_;
    // Lets the end observer outlive this manager harmlessly.
    std::shared_ptr<FakeServiceManager*> self_;
};

}  // namespace tolva::platform

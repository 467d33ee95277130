#pragma once
// The Windows service control manager: a connection to the service database, services opened
// through it with the access rights a caller asks for, and the operations those rights allow.
// An operation the handle's rights do not cover fails with error::kAccessDenied, as on Windows.
// Service names compare without regard to case.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tolva::platform {

// SC_MANAGER_* and SERVICE_* access rights.
namespace service_access {
inline constexpr uint32_t kManagerConnect = 0x0001;
inline constexpr uint32_t kManagerCreateService = 0x0002;
inline constexpr uint32_t kManagerAll = 0xF003F;

inline constexpr uint32_t kQueryConfig = 0x0001;
inline constexpr uint32_t kChangeConfig = 0x0002;
inline constexpr uint32_t kQueryStatus = 0x0004;
inline constexpr uint32_t kStart = 0x0010;
inline constexpr uint32_t kStop = 0x0020;
inline constexpr uint32_t kDelete = 0x10000;
inline constexpr uint32_t kAll = 0xF01FF;
}  // namespace service_access

// SERVICE_WIN32_OWN_PROCESS and SERVICE_ERROR_NORMAL.
inline constexpr uint32_t kServiceOwnProcess = 0x10;
inline constexpr uint32_t kServiceErrorNormal = 1;

// SERVICE_* start types.
enum class ServiceStartType : uint32_t {
    kBoot = 0,
    kSystem = 1,
    kAutomatic = 2,
    kManual = 3,
    kDisabled = 4
};

// SERVICE_* states.
enum class ServiceState : uint32_t {
    kStopped = 1,
    kStartPending = 2,
    kStopPending = 3,
    kRunning = 4,
    kContinuePending = 5,
    kPausePending = 6,
    kPaused = 7
};

struct ServiceConfig {
    uint32_t serviceType = kServiceOwnProcess;
    ServiceStartType startType = ServiceStartType::kAutomatic;
    uint32_t errorControl = kServiceErrorNormal;
    std::string binaryPath;  // the command line, quoted as the caller wrote it
    std::string displayName;
};

// A new service: no load-order group, tag, dependencies or password, in the local system account.
struct NewService {
    std::string name;
    ServiceConfig config;
};

// A change of configuration; an item left empty stays as it is (SERVICE_NO_CHANGE), and the items
// not named here (binary path, group, account, display name...) are never touched.
struct ServiceConfigChange {
    std::optional<uint32_t> serviceType;
    std::optional<ServiceStartType> startType;
    std::optional<uint32_t> errorControl;
};

// SC_ACTION_* types.
enum class ServiceRecovery : uint32_t { kNone = 0, kRestart = 1, kReboot = 2, kRunCommand = 3 };

struct ServiceFailureAction {
    ServiceRecovery recovery = ServiceRecovery::kNone;
    uint32_t delayMs = 0;
};

// What the manager does when the service's process ends without stopping it: the actions in turn
// for the first, second... failure, the last one repeated; no reboot message and no command.
struct ServiceFailureActions {
    uint32_t resetPeriodSeconds = 0;
    std::vector<ServiceFailureAction> actions;
};

// One open service. Closing is destroying.
class Service {
public:
    virtual ~Service() = default;
    // Starts the service without arguments; returns once the manager has launched it, not once it
    // runs. Needs service_access::kStart.
    virtual Status Start() = 0;
    // Sends the stop control; the service reaches the stopped state in its own time. Needs kStop.
    virtual Status Stop() = 0;
    // The current state. Needs kQueryStatus.
    virtual Status QueryState(ServiceState& state) = 0;
    // The whole configuration, whatever its size. Needs kQueryConfig.
    virtual Status QueryConfig(ServiceConfig& config) = 0;
    // Needs kChangeConfig.
    virtual Status ChangeConfig(const ServiceConfigChange& change) = 0;
    // Through the system's extended configuration call, looked up when needed: error::kProcNotFound
    // when the system has none. Needs kChangeConfig.
    virtual Status SetFailureActions(const ServiceFailureActions& actions) = 0;
    // The service goes once it is stopped and every handle to it is closed. Needs kDelete.
    virtual Status MarkForDeletion() = 0;
};

// A connection to the service database. Closing is destroying.
class ServiceDatabase {
public:
    virtual ~ServiceDatabase() = default;
    // error::kServiceDoesNotExist when there is no such service.
    virtual Status Open(std::string_view name, uint32_t access,
                        std::unique_ptr<Service>& service) = 0;
    // error::kServiceExists when the name is taken. Needs service_access::kManagerCreateService.
    virtual Status Create(const NewService& definition, uint32_t access,
                          std::unique_ptr<Service>& service) = 0;
};

class ServiceManager {
public:
    virtual ~ServiceManager() = default;
    // access: service_access::kManager* rights.
    virtual Status Connect(uint32_t access, std::unique_ptr<ServiceDatabase>& database) = 0;
};

}  // namespace tolva::platform

#pragma once
// The Windows service control manager.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tolva::platform {

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

struct ServiceDefinition {
    std::string name;
    std::string displayName;
    std::string binaryPath;  // command line, quoted as the service manager wants it
    ServiceStartType startType = ServiceStartType::kAutomatic;
    bool interactive = false;
};

class ServiceManager {
public:
    virtual ~ServiceManager() = default;
    virtual bool Exists(std::string_view name) const = 0;
    virtual Status Create(const ServiceDefinition& service) = 0;
    virtual Status Remove(std::string_view name) = 0;
    virtual Status Start(std::string_view name) = 0;
    virtual Status Stop(std::string_view name) = 0;
    virtual Status QueryState(std::string_view name, ServiceState& state) const = 0;
    virtual Status QueryStartType(std::string_view name, ServiceStartType& type) const = 0;
    virtual Status QueryBinaryPath(std::string_view name, std::string& path) const = 0;
    virtual Status ChangeStartType(std::string_view name, ServiceStartType type) = 0;
    virtual Status ChangeDescription(std::string_view name, std::string_view description) = 0;
};

}  // namespace tolva::platform

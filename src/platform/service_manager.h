#pragma once
// The Windows service control manager.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tolva::platform {

// SERVICE_* start types.
enum class ServiceStartType : uint32_t { Boot = 0, System = 1, Automatic = 2, Manual = 3, Disabled = 4 };
// SERVICE_* states.
enum class ServiceState : uint32_t {
    Stopped = 1, StartPending = 2, StopPending = 3, Running = 4,
    ContinuePending = 5, PausePending = 6, Paused = 7
};

struct ServiceDefinition {
    std::string name;
    std::string displayName;
    std::string binaryPath;  // command line, quoted as the service manager wants it
    ServiceStartType startType = ServiceStartType::Automatic;
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

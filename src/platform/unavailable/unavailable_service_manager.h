#pragma once
// Stands in for the service control manager where the platform has none.

#include "platform/service_manager.h"
#include "platform/unavailable/unavailable_status.h"

namespace tolva::platform {

class UnavailableServiceManager final : public ServiceManager {
public:
    // No service exists.
    bool Exists(std::string_view) const override { return false; }
    Status Create(const ServiceDefinition&) override { return Fail("Create"); }
    Status Remove(std::string_view) override { return Fail("Remove"); }
    Status Start(std::string_view) override { return Fail("Start"); }
    Status Stop(std::string_view) override { return Fail("Stop"); }
    Status QueryState(std::string_view, ServiceState&) const override { return Fail("QueryState"); }
    Status QueryStartType(std::string_view, ServiceStartType&) const override {
        return Fail("QueryStartType");
    }
    Status QueryBinaryPath(std::string_view, std::string&) const override {
        return Fail("QueryBinaryPath");
    }
    Status ChangeStartType(std::string_view, ServiceStartType) override {
        return Fail("ChangeStartType");
    }
    Status ChangeDescription(std::string_view, std::string_view) override {
        return Fail("ChangeDescription");
    }

private:
    static Status Fail(const char* call) { return Unavailable("service manager", call); }
};

}  // namespace tolva::platform

#include "upgrade/program_state.h"

#include <memory>

#include "upgrade/service_table.h"

namespace tolva::upgrade {

RunMode RunModeOf(platform::PlatformId platformId) {
    return platformId == platform::PlatformId::kWindowsNt ? RunMode::kService
                                                          : RunMode::kApplication;
}

ProgramState GetServiceState(platform::ServiceManager& services, std::string_view serviceName) {
    std::unique_ptr<platform::ServiceDatabase> database;
    std::unique_ptr<platform::Service> service;
    platform::ServiceState state = platform::ServiceState::kStopped;
    if (!services.Connect(platform::service_access::kManagerConnect, database) ||
        !database->Open(serviceName, platform::service_access::kQueryStatus, service) ||
        !service->QueryState(state)) {
        return ProgramState{};
    }
    return ProgramState{true, state};
}

ProgramState GetSuiteServiceState(const platform::Platform& platform, RunMode mode, int index) {
    const ServiceRow* row = ServiceRowAt(index);
    if (row == nullptr) {
        return ProgramState{};
    }
    if (mode == RunMode::kService) {
        return GetServiceState(*platform.services, row->serviceName);
    }
    return ProgramState{FindProgramWindow(*platform.windows, index) != 0, std::nullopt};
}

platform::WindowHandle FindProgramWindow(const platform::Windows& windows, int index) {
    const ServiceRow* row = ServiceRowAt(index);
    return row == nullptr ? 0 : windows.Find(row->windowClass, row->windowCaption);
}

}  // namespace tolva::upgrade

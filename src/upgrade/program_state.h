#pragma once
// Whether a server program of the suite is there and runs: as a Windows service on systems of the
// Windows NT family (service mode), as a windowed program otherwise (application mode).

#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace tolva::upgrade {

enum class RunMode { kService, kApplication };

// Service mode exactly on the Windows NT family.
RunMode RunModeOf(platform::PlatformId platformId);

struct ProgramState {
    bool present = false;
    // What the service manager reports; none in application mode or when the service is absent.
    std::optional<platform::ServiceState> state;

    bool Is(platform::ServiceState wanted) const { return present && state == wanted; }
    // In service mode the service runs; in application mode the program's window is there.
    bool Runs(RunMode mode) const {
        return mode == RunMode::kService ? Is(platform::ServiceState::kRunning) : present;
    }
};

// GetServiceState: present when the manager and the service can be opened and the state read.
ProgramState GetServiceState(platform::ServiceManager& services, std::string_view serviceName);

// GetSuiteServiceState: in service mode the state of the row's service; in application mode
// present when the row's window exists, without a state.
ProgramState GetSuiteServiceState(const platform::Platform& platform, RunMode mode, int index);

// The top-level window of the row with its class and caption; 0 when there is none or the index
// is outside the table.
platform::WindowHandle FindProgramWindow(const platform::Windows& windows, int index);

}  // namespace tolva::upgrade

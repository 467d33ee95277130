#pragma once
// The stand-ins one bundle keeps for the services its platform has no implementation of.

#include "platform/platform.h"
#include "platform/unavailable/unavailable_pipes.h"
#include "platform/unavailable/unavailable_processes.h"
#include "platform/unavailable/unavailable_service_manager.h"
#include "platform/unavailable/unavailable_shell.h"
#include "platform/unavailable/unavailable_windows.h"

namespace tolva::platform {

class UnavailableServices {
public:
    // Points every service the bundle has not set at its stand-in; the bundle sets its own
    // implementations first.
    void FillIn(Platform& platform) {
        FillIn(platform.services, services_);
        FillIn(platform.shell, shell_);
        FillIn(platform.windows, windows_);
        FillIn(platform.pipes, pipes_);
        FillIn(platform.processes, processes_);
    }

private:
    template <typename Service, typename StandIn>
    static void FillIn(Service*& service, StandIn& standIn) {
        if (service == nullptr) {
            service = &standIn;
        }
    }

    UnavailableServiceManager services_;
    UnavailableShell shell_;
    UnavailableWindows windows_;
    UnavailablePipes pipes_;
    UnavailableProcesses processes_;
};

}  // namespace tolva::platform

#pragma once
// The stand-ins one bundle keeps for the services its platform has no implementation of.

#include "platform/platform.h"
#include "platform/unavailable/unavailable_shell.h"

namespace tolva::platform {

class UnavailableServices {
public:
    // Points every service the bundle has not set at its stand-in; the bundle sets its own
    // implementations first.
    void FillIn(Platform& platform) { FillIn(platform.shell, shell_); }

private:
    template <typename Service, typename StandIn>
    static void FillIn(Service*& service, StandIn& standIn) {
        if (service == nullptr) {
            service = &standIn;
        }
    }

    UnavailableShell shell_;
};

}  // namespace tolva::platform

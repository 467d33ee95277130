#include "platform/native_network.h"

#include "platform/host/network_host.h"

namespace tolva::platform {

std::unique_ptr<Network> MakeNativeNetwork() {
    return std::make_unique<host::HostNetwork>();
}

}  // namespace tolva::platform

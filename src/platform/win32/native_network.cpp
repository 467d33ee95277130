#include "platform/native_network.h"

#include "platform/win32/network_win32.h"

namespace tolva::platform {

std::unique_ptr<Network> MakeNativeNetwork() {
    return std::make_unique<win32::Win32Network>();
}

}  // namespace tolva::platform

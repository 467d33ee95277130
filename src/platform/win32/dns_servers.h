#pragma once
// The machine's DNS servers as IP Helper's GetNetworkParams reports them.

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include <string>
#include <vector>

namespace tolva::platform {

// The current DNS server first, then every server of the list, each address once and empty ones
// left out.
std::vector<std::string> DnsServersOf(const FIXED_INFO& info);

}  // namespace tolva::platform

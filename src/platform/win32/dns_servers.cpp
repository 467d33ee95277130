#include "platform/win32/dns_servers.h"

#include <algorithm>
#include <cstring>

namespace tolva::platform {

std::vector<std::string> DnsServersOf(const FIXED_INFO& info) {
    std::vector<std::string> servers;
    const auto add = [&](const IP_ADDR_STRING* entry) {
        const std::string address(entry->IpAddress.String,
                                  strnlen(entry->IpAddress.String, sizeof entry->IpAddress.String));
        if (!address.empty() &&
            std::find(servers.begin(), servers.end(), address) == servers.end()) {
            servers.push_back(address);
        }
    };
    if (info.CurrentDnsServer != nullptr) {
        add(info.CurrentDnsServer);
    }
    for (const IP_ADDR_STRING* entry = &info.DnsServerList; entry != nullptr; entry = entry->Next) {
        add(entry);
    }
    return servers;
}

}  // namespace tolva::platform

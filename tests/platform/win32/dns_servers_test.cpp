#include "platform/win32/dns_servers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace tolva::platform {
namespace {

IP_ADDR_STRING Address(const char* text, IP_ADDR_STRING* next = nullptr) {
    IP_ADDR_STRING entry = {};
    std::strncpy(entry.IpAddress.String, text, sizeof entry.IpAddress.String - 1);
    entry.Next = next;
    return entry;
}

TEST(DnsServers, CurrentServerFirstThenTheList) {
    using Servers = std::vector<std::string>;
    IP_ADDR_STRING current = Address("192.0.2.9");
    IP_ADDR_STRING same = Address("192.0.2.2");
    IP_ADDR_STRING empty = Address("");
    IP_ADDR_STRING third = Address("192.0.2.3");
    IP_ADDR_STRING second = Address("192.0.2.2", &third);
    const struct {
        const char* name;
        IP_ADDR_STRING* current;
        IP_ADDR_STRING first;
        Servers servers;
    } cases[] = {
        {"current and list",
         &current,
         Address("192.0.2.1", &second),
         {"192.0.2.9", "192.0.2.1", "192.0.2.2", "192.0.2.3"}},
        {"no current server",
         nullptr,
         Address("192.0.2.1", &second),
         {"192.0.2.1", "192.0.2.2", "192.0.2.3"}},
        {"current server also listed",
         &same,
         Address("192.0.2.1", &second),
         {"192.0.2.2", "192.0.2.1", "192.0.2.3"}},
        {"empty entries", &empty, Address("", &third), {"192.0.2.3"}},
    };
    for (const auto& c : cases) {
        FIXED_INFO info = {};
        info.CurrentDnsServer = c.current;
        info.DnsServerList = c.first;
        EXPECT_EQ(DnsServersOf(info), c.servers) << c.name;
    }
}

}  // namespace
}  // namespace tolva::platform

#pragma once
// The machine as Linux sees it, with Windows' folders placed under the host root: "C:\Temp\" and
// "C:\Windows\" (both created on construction).

#include "platform/host/host_path_map.h"
#include "platform/system.h"

namespace tolva::platform {

class HostSystem : public System {
public:
    explicit HostSystem(HostPathMap paths);

    std::string TempFolder() const override;
    std::string WindowsFolder() const override;
    PlatformId GetPlatformId() const override { return PlatformId::kWindowsNt; }
    int32_t TimeZoneBias() const override;
    // The "nameserver" lines of /etc/resolv.conf that hold IPv4 addresses.
    std::vector<std::string> DnsServers() const override;
    // From /proc/net/tcp and tcp6; the process is found among those whose open files we may see.
    Status ListTcpListeners(std::vector<TcpListener>& listeners) const override;

    LocalTime Now() const override;
    uint32_t Ticks() const override;
    void SleepFor(uint32_t milliseconds) override;

    std::u16string AnsiToWide(std::string_view text) const override;
    std::string WideToAnsi(std::u16string_view text) const override;

    std::string ErrorText(uint32_t code) const override;

private:
    HostPathMap paths_;
};

// The IPv4 name servers of a resolv.conf text, in order.
std::vector<std::string> ParseResolvConf(std::string_view text);

}  // namespace tolva::platform

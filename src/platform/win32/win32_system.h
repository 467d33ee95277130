#pragma once
// The machine as Windows reports it.

#include "platform/system.h"

namespace tolva::platform {

class Win32System : public System {
public:
    std::string TempFolder() const override;
    std::string WindowsFolder() const override;
    PlatformId GetPlatformId() const override;
    int32_t TimeZoneBias() const override;
    // From the IP Helper's network parameters.
    std::vector<std::string> DnsServers() const override;
    Status ListTcpListeners(std::vector<TcpListener>& listeners) const override;

    LocalTime Now() const override;
    uint32_t Ticks() const override;
    void SleepFor(uint32_t milliseconds) override;

    std::u16string AnsiToWide(std::string_view text) const override;
    std::string WideToAnsi(std::u16string_view text) const override;

    std::string ErrorText(uint32_t code) const override;
};

}  // namespace tolva::platform

#pragma once
// A machine whose clock stands still until told otherwise: time-dependent code runs the same every
// time. Sleeping advances the ticks by the time slept, so polling loops reach their deadlines.

#include "platform/system.h"

namespace tolva::platform {

class FakeSystem : public System {
public:
    std::string TempFolder() const override { return tempFolder_; }
    std::string WindowsFolder() const override { return windowsFolder_; }
    PlatformId GetPlatformId() const override { return platformId_; }
    int32_t TimeZoneBias() const override { return timeZoneBias_; }
    std::vector<std::string> DnsServers() const override { return dnsServers_; }
    Status ListTcpListeners(std::vector<TcpListener>& listeners) const override {
        listeners = listeners_;
        return Status::Ok();
    }

    LocalTime Now() const override { return now_; }
    // Each reading advances the ticks by the step set (0 by default), as time passes between calls.
    uint32_t Ticks() const override;
    void SleepFor(uint32_t milliseconds) override;

    std::u16string AnsiToWide(std::string_view text) const override;
    std::string WideToAnsi(std::u16string_view text) const override;
    std::string ErrorText(uint32_t code) const override;

    void SetTempFolder(std::string folder) { tempFolder_ = std::move(folder); }
    void SetWindowsFolder(std::string folder) { windowsFolder_ = std::move(folder); }
    void SetPlatformId(PlatformId id) { platformId_ = id; }
    void SetTimeZoneBias(int32_t minutes) { timeZoneBias_ = minutes; }
    void SetDnsServers(std::vector<std::string> servers) { dnsServers_ = std::move(servers); }
    void SetTcpListeners(std::vector<TcpListener> listeners) { listeners_ = std::move(listeners); }
    void SetNow(const LocalTime& now) { now_ = now; }
    void SetTicks(uint32_t ticks) { ticks_ = ticks; }
    void SetTickStep(uint32_t step) { tickStep_ = step; }

    // Every SleepFor, in order.
    const std::vector<uint32_t>& Sleeps() const { return sleeps_; }

private:
    std::string tempFolder_ = "C:\\Windows\\Temp\\";
    std::string windowsFolder_ = "C:\\Windows\\";
    PlatformId platformId_ = PlatformId::kWindowsNt;
    int32_t timeZoneBias_ = 0;
    std::vector<std::string> dnsServers_;
    std::vector<TcpListener> listeners_;
    LocalTime now_{2026, 1, 2, 3, 4, 5, 0, 5};
    mutable uint32_t ticks_ = 1000;
    uint32_t tickStep_ = 0;
    std::vector<uint32_t> sleeps_;
};

}  // namespace tolva::platform

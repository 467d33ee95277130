#pragma once
// A System whose clock and time zone the test sets; nothing else of it is used by the mail code.

#include "platform/system.h"

namespace tolva::testing {

class FixedClockSystem : public platform::System {
public:
    platform::LocalTime now{2026, 3, 14, 15, 9, 26, 0, 6};
    int32_t bias = -60;

    std::string TempFolder() const override { return "C:\\Temp\\"; }
    std::string WindowsFolder() const override { return "C:\\Windows\\"; }
    platform::PlatformId GetPlatformId() const override { return platform::PlatformId::WindowsNT; }
    int32_t TimeZoneBias() const override { return bias; }
    std::vector<std::string> DnsServers() const override { return {}; }
    platform::LocalTime Now() const override { return now; }
    uint32_t Ticks() const override { return 0; }
    void SleepFor(uint32_t) override {}
    std::u16string AnsiToWide(std::string_view text) const override {
        return std::u16string(text.begin(), text.end());
    }
    std::string WideToAnsi(std::u16string_view text) const override {
        return std::string(text.begin(), text.end());
    }
    std::string ErrorText(uint32_t) const override { return {}; }
};

}  // namespace tolva::testing

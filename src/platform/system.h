#pragma once
// Facts about the machine and the conversions that depend on its code page.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tolva::platform {

// VER_PLATFORM_* values.
enum class PlatformId : uint32_t { kWin32s = 0, kWindows9x = 1, kWindowsNt = 2 };

struct LocalTime {
    uint16_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, milliseconds = 0;
    uint16_t dayOfWeek = 0;  // 0 = Sunday
};

// A TCP port that a process of the machine listens on.
struct TcpListener {
    uint16_t port = 0;
    uint32_t processId = 0;  // 0 when the system does not say which process it is (Wine)
    bool operator==(const TcpListener&) const = default;
};

class System {
public:
    virtual ~System() = default;

    // With a trailing backslash.
    virtual std::string TempFolder() const = 0;
    virtual std::string WindowsFolder() const = 0;
    virtual PlatformId GetPlatformId() const = 0;
    // Minutes to add to local time to get UTC (the Win32 bias, daylight saving applied).
    virtual int32_t TimeZoneBias() const = 0;
    // The machine's DNS servers as dotted addresses, in the order the system lists them.
    virtual std::vector<std::string> DnsServers() const = 0;
    // Every listening TCP socket of the machine, IPv4 and IPv6, in no particular order.
    virtual Status ListTcpListeners(std::vector<TcpListener>& listeners) const = 0;

    virtual LocalTime Now() const = 0;
    // Milliseconds from an arbitrary start, wrapping like GetTickCount.
    virtual uint32_t Ticks() const = 0;
    virtual void SleepFor(uint32_t milliseconds) = 0;

    // System ANSI code page <-> UTF-16 (CP_ACP on Windows, Windows-1252 on the host).
    virtual std::u16string AnsiToWide(std::string_view text) const = 0;
    virtual std::string WideToAnsi(std::u16string_view text) const = 0;

    // The system's text for an error code, without a trailing line break.
    virtual std::string ErrorText(uint32_t code) const = 0;
};

}  // namespace tolva::platform

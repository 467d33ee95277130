#include "platform/win32/win32_system.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include "platform/win32/ansi_text.h"
#include "platform/win32/dns_servers.h"
#include "util/wide_text.h"

namespace tolva::platform {
namespace {

std::string WithBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') {
        folder += '\\';
    }
    return folder;
}

}  // namespace

// In long names (TEMP often holds an 8.3 form such as "RUNNER~1"), so that it compares as text with
// other folders, the setup program's own among them.
std::string Win32System::TempFolder() const {
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) {
        return std::string();
    }
    wchar_t longName[MAX_PATH + 1];
    const DWORD longLength = ::GetLongPathNameW(buffer, longName, MAX_PATH + 1);
    if (longLength != 0 && longLength <= MAX_PATH) {
        return WithBackslash(WideToAnsiText(std::wstring_view(longName, longLength)));
    }
    return WithBackslash(WideToAnsiText(std::wstring_view(buffer, length)));
}

std::string Win32System::WindowsFolder() const {
    wchar_t buffer[MAX_PATH + 1];
    UINT length = ::GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) {
        return std::string();
    }
    return WithBackslash(WideToAnsiText(std::wstring_view(buffer, length)));
}

PlatformId Win32System::GetPlatformId() const {
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExW(&version)) {
        return PlatformId::kWindowsNt;
    }
    return static_cast<PlatformId>(version.dwPlatformId);
}

int32_t Win32System::TimeZoneBias() const {
    TIME_ZONE_INFORMATION zone;
    switch (::GetTimeZoneInformation(&zone)) {
        case TIME_ZONE_ID_DAYLIGHT:
            return zone.Bias + zone.DaylightBias;
        case TIME_ZONE_ID_STANDARD:
            return zone.Bias + zone.StandardBias;
        case TIME_ZONE_ID_INVALID:
            return 0;
        default:
            return zone.Bias;
    }
}

std::vector<std::string> Win32System::DnsServers() const {
    ULONG size = sizeof(FIXED_INFO);
    std::string buffer(size, '\0');
    DWORD result = ::GetNetworkParams(reinterpret_cast<FIXED_INFO*>(buffer.data()), &size);
    if (result == ERROR_BUFFER_OVERFLOW) {
        buffer.assign(size, '\0');
        result = ::GetNetworkParams(reinterpret_cast<FIXED_INFO*>(buffer.data()), &size);
    }
    if (result != ERROR_SUCCESS) {
        return {};
    }
    return DnsServersOf(*reinterpret_cast<const FIXED_INFO*>(buffer.data()));
}

namespace {

// The listening sockets of one address family from the table with their owners.
template <typename Table>
Status AddListeners(ULONG family, std::vector<TcpListener>& listeners) {
    DWORD size = 0;
    std::string buffer;
    DWORD result = ERROR_INSUFFICIENT_BUFFER;
    for (int attempt = 0; attempt < 4 && result == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
        buffer.assign(size, '\0');
        result = ::GetExtendedTcpTable(buffer.empty() ? nullptr : buffer.data(), &size, FALSE,
                                       family, TCP_TABLE_OWNER_PID_LISTENER, 0);
    }
    if (result != NO_ERROR) {
        return Status::Failure(result, "GetExtendedTcpTable");
    }
    const auto* table = reinterpret_cast<const Table*>(buffer.data());
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        listeners.push_back({::ntohs(static_cast<u_short>(table->table[i].dwLocalPort)),
                             table->table[i].dwOwningPid});
    }
    return Status::Ok();
}

}  // namespace

Status Win32System::ListTcpListeners(std::vector<TcpListener>& listeners) const {
    std::vector<TcpListener> found;
    if (Status status = AddListeners<MIB_TCPTABLE_OWNER_PID>(AF_INET, found); !status) {
        return status;
    }
    // A system without IPv6 has no table for it.
    (void)AddListeners<MIB_TCP6TABLE_OWNER_PID>(AF_INET6, found);
    listeners = std::move(found);
    return Status::Ok();
}

LocalTime Win32System::Now() const {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    LocalTime time;
    time.year = now.wYear;
    time.month = now.wMonth;
    time.day = now.wDay;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    time.milliseconds = now.wMilliseconds;
    time.dayOfWeek = now.wDayOfWeek;
    return time;
}

uint32_t Win32System::Ticks() const {
    return ::GetTickCount();
}

void Win32System::SleepFor(uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

std::u16string Win32System::AnsiToWide(std::string_view text) const {
    return util::FromWideString(AnsiToWideText(text));
}

std::string Win32System::WideToAnsi(std::u16string_view text) const {
    return WideToAnsiText(util::ToWideString(text));
}

std::string Win32System::ErrorText(uint32_t code) const {
    wchar_t* message = nullptr;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    if (length == 0 || message == nullptr) {
        return "Error " + std::to_string(code);
    }
    std::wstring text(message, length);
    ::LocalFree(message);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return WideToAnsiText(text);
}

}  // namespace tolva::platform

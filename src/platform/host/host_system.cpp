#include "platform/host/host_system.h"

#include <arpa/inet.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "platform/fake/windows_1252.h"
#include "platform/host/errno_mapping.h"

namespace tolva::platform {
namespace {

constexpr char kTempFolder[] = "C:\\Temp\\";
constexpr char kWindowsFolder[] = "C:\\Windows\\";

void MakeFolders(const std::string& hostPath) {
    for (size_t slash = 1; slash != std::string::npos;) {
        slash = hostPath.find('/', slash + 1);
        ::mkdir(hostPath.substr(0, slash).c_str(), 0777);
    }
}

}  // namespace

HostSystem::HostSystem(HostPathMap paths) : paths_(std::move(paths)) {
    for (const char* folder : {kTempFolder, kWindowsFolder}) {
        std::string hostPath;
        if (paths_.ToHost(folder, hostPath)) {
            MakeFolders(hostPath);
        }
    }
}

std::string HostSystem::TempFolder() const {
    return kTempFolder;
}

std::string HostSystem::WindowsFolder() const {
    return kWindowsFolder;
}

int32_t HostSystem::TimeZoneBias() const {
    time_t now = ::time(nullptr);
    struct tm local;
    ::localtime_r(&now, &local);
    return static_cast<int32_t>(-local.tm_gmtoff / 60);
}

std::vector<std::string> ParseResolvConf(std::string_view text) {
    std::vector<std::string> servers;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string keyword, address;
        struct in_addr parsed;
        if (words >> keyword >> address && keyword == "nameserver" &&
            ::inet_pton(AF_INET, address.c_str(), &parsed) == 1) {
            servers.push_back(address);
        }
    }
    return servers;
}

std::vector<std::string> HostSystem::DnsServers() const {
    std::ifstream file("/etc/resolv.conf");
    std::stringstream text;
    text << file.rdbuf();
    return ParseResolvConf(text.str());
}

LocalTime HostSystem::Now() const {
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    struct tm local;
    ::localtime_r(&now.tv_sec, &local);
    LocalTime time;
    time.year = static_cast<uint16_t>(local.tm_year + 1900);
    time.month = static_cast<uint16_t>(local.tm_mon + 1);
    time.day = static_cast<uint16_t>(local.tm_mday);
    time.hour = static_cast<uint16_t>(local.tm_hour);
    time.minute = static_cast<uint16_t>(local.tm_min);
    time.second = static_cast<uint16_t>(local.tm_sec);
    time.milliseconds = static_cast<uint16_t>(now.tv_nsec / 1000000);
    time.dayOfWeek = static_cast<uint16_t>(local.tm_wday);
    return time;
}

uint32_t HostSystem::Ticks() const {
    struct timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    auto milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
    return static_cast<uint32_t>(milliseconds);
}

void HostSystem::SleepFor(uint32_t milliseconds) {
    struct timespec left = {static_cast<time_t>(milliseconds / 1000),
                            static_cast<long>(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

std::u16string HostSystem::AnsiToWide(std::string_view text) const {
    return Windows1252ToWide(text);
}

std::string HostSystem::WideToAnsi(std::u16string_view text) const {
    return WideToWindows1252(text);
}

std::string HostSystem::ErrorText(uint32_t code) const {
    int error = ErrnoFromWindowsError(code);
    if (error == 0) {
        return "Error " + std::to_string(code);
    }
    char buffer[256];
    return ::strerror_r(error, buffer, sizeof buffer);
}

}  // namespace tolva::platform

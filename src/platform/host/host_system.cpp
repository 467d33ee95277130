#include "platform/host/host_system.h"

#include <arpa/inet.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
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

namespace {

// The listening sockets of a /proc/net/tcp table as their socket inode and port.
void ReadListeningSockets(const char* table, std::map<std::string, uint16_t>& sockets) {
    constexpr char kListen[] = "0A";
    std::ifstream file(table);
    std::string line;
    std::getline(file, line);
    while (std::getline(file, line)) {
        std::istringstream words(line);
        std::string slot, local, remote, state, queues, timer, retransmits, user, timeout, inode;
        if (!(words >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> user >>
              timeout >> inode) ||
            state != kListen) {
            continue;
        }
        const size_t colon = local.rfind(':');
        if (colon != std::string::npos) {
            sockets[inode] =
                static_cast<uint16_t>(std::stoul(local.substr(colon + 1), nullptr, 16));
        }
    }
}

}  // namespace

Status HostSystem::ListTcpListeners(std::vector<TcpListener>& listeners) const {
    std::map<std::string, uint16_t> sockets;
    ReadListeningSockets("/proc/net/tcp", sockets);
    ReadListeningSockets("/proc/net/tcp6", sockets);
    std::map<std::string, uint32_t> owners;
    std::error_code error;
    for (const auto& process : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = process.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::error_code unreadable;
        for (const auto& fd :
             std::filesystem::directory_iterator(process.path() / "fd", unreadable)) {
            const std::string target = std::filesystem::read_symlink(fd.path(), unreadable);
            if (target.starts_with("socket:[") && target.back() == ']') {
                owners.emplace(target.substr(8, target.size() - 9),
                               static_cast<uint32_t>(std::stoul(name)));
            }
        }
    }
    listeners.clear();
    for (const auto& [inode, port] : sockets) {
        const auto owner = owners.find(inode);
        listeners.push_back({port, owner == owners.end() ? 0 : owner->second});
    }
    return Status::Ok();
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

#include "process_watch.h"

#include <dirent.h>
#include <signal.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <thread>

namespace tolva::bench {

namespace {

using Clock = std::chrono::steady_clock;

std::string ReadProcFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// Whether a NUL-separated argument list names the program (as a Windows or Unix path) in its
// first or second argument: Wine shows the Windows program's path, a loader shows it second.
bool RunsProgram(const std::string& commandLine, const std::string& program) {
    std::istringstream arguments(commandLine);
    std::string argument;
    for (int index = 0; index < 2 && std::getline(arguments, argument, '\0'); ++index) {
        const std::string lower = Lower(argument);
        const size_t cut = lower.find_last_of("\\/");
        if ((cut == std::string::npos ? lower : lower.substr(cut + 1)) == program) {
            return true;
        }
    }
    return false;
}

// Processes of the prefix that run the program.
std::vector<int> FindProcesses(const std::string& prefix, const std::string& program) {
    std::vector<int> found;
    DIR* proc = opendir("/proc");
    if (!proc) {
        return found;
    }
    const std::string wanted = "WINEPREFIX=" + prefix;
    while (dirent* entry = readdir(proc)) {
        if (!std::isdigit(static_cast<unsigned char>(entry->d_name[0]))) {
            continue;
        }
        const std::string base = std::string("/proc/") + entry->d_name;
        if (!RunsProgram(ReadProcFile(base + "/cmdline"), program)) {
            continue;
        }
        std::istringstream environment(ReadProcFile(base + "/environ"));
        std::string variable;
        while (std::getline(environment, variable, '\0')) {
            if (variable == wanted) {
                found.push_back(std::stoi(entry->d_name));
                break;
            }
        }
    }
    closedir(proc);
    return found;
}

long PeakKiB(int pid) {
    std::istringstream status(ReadProcFile("/proc/" + std::to_string(pid) + "/status"));
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

class LogFollower {
public:
    explicit LogFollower(const std::vector<std::string>& candidates) : candidates_(candidates) {}

    // Appends the complete lines written since the last call.
    void Poll(double ms, std::vector<LoggedLine>& lines) {
        if (path_.empty()) {
            for (const std::string& candidate : candidates_) {
                if (std::ifstream(candidate)) {
                    path_ = candidate;
                    break;
                }
            }
            if (path_.empty()) {
                return;
            }
        }
        std::ifstream in(path_, std::ios::binary);
        in.seekg(std::streamoff(offset_));
        std::string fresh((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        offset_ += fresh.size();
        pending_ += fresh;
        for (size_t end; (end = pending_.find('\n')) != std::string::npos;) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (!line.empty()) {
                lines.push_back({ms, line});
            }
        }
    }

private:
    std::vector<std::string> candidates_;
    std::string path_;
    size_t offset_ = 0;
    std::string pending_;
};

}  // namespace

WatchResult WatchInstallation(const WatchOptions& options) {
    WatchResult result;
    LogFollower log(options.logFiles);
    const std::string program = Lower(options.program);
    const std::string service = Lower(options.service);
    const auto start = Clock::now();
    std::vector<int> installer;
    for (unsigned tick = 0;; ++tick) {
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        log.Poll(ms, result.lines);
        // Scanning every process is dearer than reading one file: every tenth round.
        if (tick % 10 == 0) {
            if (installer.empty()) {
                installer = FindProcesses(options.prefix, program);
                if (!installer.empty()) {
                    result.programSeenMs = ms;
                }
            }
            for (int pid : installer) {
                result.peakWorkingSetKiB = std::max(result.peakWorkingSetKiB, PeakKiB(pid));
            }
            if (result.serviceSeenMs < 0 && !FindProcesses(options.prefix, service).empty()) {
                result.serviceSeenMs = ms;
            }
        }
        if (!installer.empty() && std::none_of(installer.begin(), installer.end(),
                                               [](int pid) { return kill(pid, 0) == 0; })) {
            result.programEndedMs = ms;
            log.Poll(ms, result.lines);
            return result;
        }
        if (Clock::now() - start > options.limit) {
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace tolva::bench

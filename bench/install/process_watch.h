#pragma once
// Watches one run of the installer under Wine from outside: when each line of its setup log
// appears, when a service program first runs, and the installer's peak working set.

#include <chrono>
#include <string>
#include <vector>

namespace tolva::bench {

struct WatchOptions {
    std::string prefix;  // WINEPREFIX of the run
    std::vector<std::string>
        logFiles;         // where the setup log may appear; the first that does counts
    std::string program;  // the installer's file name, such as setup.exe
    std::string service;  // a service program started last, such as cal.exe
    std::chrono::seconds limit{900};
};

struct LoggedLine {
    double ms = 0;  // since the watch began
    std::string text;
};

struct WatchResult {
    std::vector<LoggedLine> lines;
    double programSeenMs = -1;
    double programEndedMs = -1;
    double serviceSeenMs = -1;
    long peakWorkingSetKiB = 0;  // the largest VmHWM of the installer's process
};

// Polls every few milliseconds until the installer's process has come and gone, or the limit.
WatchResult WatchInstallation(const WatchOptions& options);

}  // namespace tolva::bench

#pragma once
// Running processes: listing, waiting for and ending them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tolva::platform {

struct ProcessInfo {
    uint32_t id = 0;
    std::string executablePath;  // full path where the system tells it, else the file name
};

class Processes {
public:
    virtual ~Processes() = default;
    virtual Status List(std::vector<ProcessInfo>& processes) const = 0;
    virtual Status Terminate(uint32_t processId, uint32_t exitCode) = 0;
    // Starts a program; with wait, waits for it to end and returns its exit code.
    virtual Status Run(std::string_view commandLine, std::string_view folder, bool wait,
                       uint32_t& exitCode) = 0;
    // true: the current process runs on the first processor only; false: on every processor.
    virtual Status LimitToFirstProcessor(bool firstOnly) = 0;
};

}  // namespace tolva::platform

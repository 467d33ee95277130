#pragma once
// Running processes: listing and ending them, the rights of our own, and programs started through
// the shell.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/show_command.h"
#include "platform/status.h"

namespace tolva::platform {

struct ProcessInfo {
    uint32_t id = 0;
    std::string baseName;  // the executable's file name, as the system spells it: "smtp.exe"
};

// A name this process holds; released when the object is destroyed or the process ends.
class InstanceClaim {
public:
    virtual ~InstanceClaim() = default;
};

class Processes {
public:
    virtual ~Processes() = default;
    // Every process whose executable we may read; the others (system processes, say) are left out.
    virtual Status List(std::vector<ProcessInfo>& processes) const = 0;
    // Ends the process at once with that exit code.
    virtual Status Terminate(uint32_t processId, uint32_t exitCode) = 0;
    // Enables a privilege ("SeDebugPrivilege") in our own process's token.
    virtual Status EnablePrivilege(std::string_view name) = 0;
    // Opens a program or document with the shell's default verb, as a double click would.
    virtual Status Launch(std::string_view file, std::string_view parameters,
                          std::string_view workingFolder, ShowCommand show) = 0;
    // true: the current process runs on the first processor only; false: on every processor.
    virtual Status LimitToFirstProcessor(bool firstOnly) = 0;
    // Claims a machine-wide name (a named mutex on Windows) for as long as claim lives; fails with
    // error::kAlreadyExists while another process, or another claim, holds it.
    virtual Status ClaimInstance(std::string_view name, std::unique_ptr<InstanceClaim>& claim) = 0;
};

}  // namespace tolva::platform

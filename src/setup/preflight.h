#pragma once
// The dry run's look at the plan and at the machine: new installation or upgrade, the folder, each
// chosen component with its archives (beside the setup program or to be downloaded), the disk
// space they need against what the target drive has, the suite's ports that another program
// holds, the suite's services that the installation will stop, and the database when one is
// given. Nothing is changed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "setup/module_fetch.h"

namespace tolva::setup {

// What keeps the machine from being ready, as bits of the dry run's exit code.
namespace problem {
inline constexpr int kPortHeld = 1;
inline constexpr int kDiskSpace = 2;
inline constexpr int kDatabase = 4;
}  // namespace problem

// Tests a database connection string; the installation's own clients in setup.exe.
class DatabaseProbe {
public:
    virtual ~DatabaseProbe() = default;
    // True when the connection opens; otherwise the client's message in error.
    virtual bool Connect(std::string_view connection, std::string& error) = 0;
};

struct PreflightInput {
    std::string setupFolder;
    std::string installDir;  // with a trailing backslash
    std::string oldVersion;  // the product key's Version; empty when none is recorded
    ComponentSelection selected{};
    // The installation's control ports (its settings on an upgrade, the defaults otherwise).
    uint16_t controlHttpPort = 32000;
    uint16_t secureControlPort = 32001;
    // Tested when not empty.
    std::string database;
};

struct ArchivePlan {
    std::string name;
    bool present = false;              // beside the setup program; otherwise to be downloaded
    uint64_t size = 0;                 // of the file beside the setup program
    std::optional<uint64_t> unpacked;  // what its content takes; none when unreadable or absent
};

struct ComponentPlan {
    int32_t key = 0;
    std::string name;
    std::vector<ArchivePlan> archives;
};

struct PortHolder {
    uint16_t port = 0;
    std::string protocol;  // "SMTP", "POP3", "IMAP", "Control"
    uint32_t processId = 0;
    std::string program;  // the program's file name; empty when the system does not say
};

struct PreflightReport {
    bool upgrade = false;
    std::string oldVersion;
    std::string installDir;
    std::vector<ComponentPlan> components;
    std::vector<std::string> downloads;  // archives the installation will download first
    uint64_t spaceNeeded = 0;            // what the archives beside the setup program unpack to
    std::optional<uint64_t> spaceAvailable;
    std::vector<PortHolder> portsHeld;        // by programs other than the suite's
    std::vector<std::string> servicesToStop;  // display names of running services of the suite
    bool databaseTested = false;
    bool databaseReachable = false;
    std::string databaseError;

    // The problem bits; 0 when the machine is ready.
    int Problems() const;
};

// probe: none when no database is to be tested.
PreflightReport RunPreflight(const platform::Platform& platform, const PreflightInput& input,
                             DatabaseProbe* probe);

// The report as the lines the dry run prints.
std::vector<std::string> PreflightLines(const PreflightReport& report);

}  // namespace tolva::setup

#pragma once
// The check after an installation: the services SMTP, POP3/IMAP, Control and IM run, and the SMTP
// port answers with a 220 greeting on the loopback address. Its line goes into the setup log, its
// result into the result file and, for unattended runs, into the exit code.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "upgrade/service_table.h"

namespace tolva::setup {

struct HealthSetup {
    bool noInstallIM = false;
    // The start types saved for the upgrade; a service that was disabled is expected not to run.
    std::array<int32_t, upgrade::kServiceCount> savedStartTypes = {-1, -1, -1, -1, -1};
    // How long the services may take to reach the running state.
    uint32_t serviceWaitMs = 15000;
    uint16_t smtpPort = 25;
    uint32_t greetingTimeoutMs = 10000;
};

struct HealthReport {
    bool checked = false;
    std::vector<std::string> running;     // "SMTP", "POP3/IMAP", "Control", "IM"
    std::vector<std::string> notRunning;  // of those expected to run
    bool greeted = false;
    std::string greeting;  // the server's first reply line, or why there was none

    bool Healthy() const { return checked && notRunning.empty() && greeted; }
};

HealthReport CheckHealth(const platform::Platform& platform, const HealthSetup& setup);

// The setup log's line: "Health check passed: ..." or "Health check failed: ...".
std::string HealthLine(const HealthReport& report, uint16_t smtpPort = 25);

}  // namespace tolva::setup

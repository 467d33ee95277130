#include "setup/health_check.h"

#include "net/smtp_reply_reader.h"
#include "upgrade/program_state.h"

namespace tolva::setup {
namespace {

constexpr char kLoopback[] = "127.0.0.1";
constexpr uint32_t kPollMs = 250;
constexpr int32_t kDisabled = static_cast<int32_t>(platform::ServiceStartType::kDisabled);

struct Checked {
    int index;
    const char* name;
};

constexpr Checked kChecked[] = {
    {upgrade::kSmtpService, "SMTP"},
    {upgrade::kPop3Service, "POP3/IMAP"},
    {upgrade::kControlService, "Control"},
    {upgrade::kImService, "IM"},
};

// Only printable ASCII of what a peer sent reaches the log.
std::string Printable(std::string_view text) {
    std::string clean;
    for (char c : text) {
        clean += c >= ' ' && c < 0x7F ? c : '?';
    }
    return clean;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return text;
}

void ReadGreeting(const platform::Platform& platform, const HealthSetup& setup,
                  HealthReport& report) {
    std::unique_ptr<platform::Connection> connection;
    const platform::Status connected =
        platform.network->Connect(kLoopback, setup.smtpPort, setup.greetingTimeoutMs, connection);
    if (!connected) {
        report.greeting = "no connection: " + platform.system->ErrorText(connected.code());
        return;
    }
    net::SmtpReply reply;
    if (!net::ReadSmtpReply(*connection, setup.greetingTimeoutMs, reply)) {
        report.greeting = "no greeting";
    } else {
        report.greeting = Printable(reply.line);
        report.greeted = reply.code == 220;
        (void)connection->SendAll("QUIT\r\n", 6);
    }
    connection->Close();
}

}  // namespace

HealthReport CheckHealth(const platform::Platform& platform, const HealthSetup& setup) {
    const upgrade::RunMode mode = upgrade::RunModeOf(platform.system->GetPlatformId());
    auto runs = [&](int index) {
        return upgrade::GetSuiteServiceState(platform, mode, index).Runs(mode);
    };
    auto expected = [&](int index) {
        return setup.savedStartTypes[static_cast<size_t>(index)] != kDisabled &&
               !(index == upgrade::kImService && setup.noInstallIM);
    };

    HealthReport report;
    report.checked = true;
    const uint32_t start = platform.system->Ticks();
    for (;;) {
        report.running.clear();
        report.notRunning.clear();
        for (const Checked& service : kChecked) {
            if (runs(service.index)) {
                report.running.push_back(service.name);
            } else if (expected(service.index)) {
                report.notRunning.push_back(service.name);
            }
        }
        if (report.notRunning.empty() || platform.system->Ticks() - start >= setup.serviceWaitMs) {
            break;
        }
        platform.system->SleepFor(kPollMs);
    }
    ReadGreeting(platform, setup, report);
    return report;
}

std::string HealthLine(const HealthReport& report, uint16_t smtpPort) {
    const std::string where = std::string(kLoopback) + ":" + std::to_string(smtpPort);
    std::string line = report.Healthy() ? "Health check passed: " : "Health check failed: ";
    line += report.running.empty() ? "no service running" : Joined(report.running) + " running";
    if (!report.notRunning.empty()) {
        line += ", " + Joined(report.notRunning) + " not running";
    }
    line += report.greeted ? "; SMTP on " + where + " greets \"" + report.greeting + "\""
                           : "; no 220 greeting on " + where + " (" + report.greeting + ")";
    return line;
}

}  // namespace tolva::setup

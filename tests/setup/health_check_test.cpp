#include "setup/health_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "net/smtp_loopback_server.h"
#include "platform/fake/fake_platform.h"

namespace tolva::setup {
namespace {

using platform::ServiceState;

class HealthCheckTest : public ::testing::Test {
protected:
    // The suite's services 0 to 3 in the given states; GroupWare is never looked at.
    void Services(std::array<ServiceState, 4> states) {
        for (int index = 0; index < 4; ++index) {
            platform::NewService service;
            service.name = upgrade::kServiceTable[size_t(index)].serviceName;
            service.config.binaryPath =
                std::string("C:\\Tolva\\") + upgrade::kServiceTable[size_t(index)].executable;
            fake.ServiceManager().Install(service, states[size_t(index)]);
        }
    }

    HealthReport Check(HealthSetup setup, uint16_t port) {
        setup.smtpPort = port;
        setup.greetingTimeoutMs = 2000;
        return CheckHealth(fake.Services(), setup);
    }

    platform::FakePlatform fake;
};

constexpr auto kRunning = ServiceState::kRunning;
constexpr auto kStopped = ServiceState::kStopped;

TEST_F(HealthCheckTest, HealthyWhenTheFourRunAndSmtpGreets) {
    Services({kRunning, kRunning, kRunning, kRunning});
    testing::SmtpLoopbackServer smtp;
    const HealthReport report = Check({}, smtp.port());
    EXPECT_TRUE(report.Healthy());
    EXPECT_EQ(HealthLine(report, smtp.port()),
              "Health check passed: SMTP, POP3/IMAP, Control and IM running; SMTP on 127.0.0.1:" +
                  std::to_string(smtp.port()) + " greets \"220 loopback ready\"");
    // The check says goodbye; the server hears it on a thread of its own.
    std::vector<std::string> commands;
    for (int wait = 0; wait < 500 && commands.empty(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        commands = smtp.Sessions().at(0).commands;
    }
    EXPECT_EQ(commands, std::vector<std::string>{"QUIT"});
}

TEST_F(HealthCheckTest, ServicesLeftOutOrDisabledBeforeNeedNotRun) {
    Services({kRunning, kRunning, kStopped, kStopped});
    testing::SmtpLoopbackServer smtp;
    HealthSetup setup;
    setup.noInstallIM = true;
    setup.savedStartTypes[upgrade::kControlService] =
        static_cast<int32_t>(platform::ServiceStartType::kDisabled);
    EXPECT_TRUE(Check(setup, smtp.port()).Healthy());
}

TEST_F(HealthCheckTest, AStoppedServiceOrAnotherGreetingIsNotHealthy) {
    Services({kRunning, kRunning, kRunning, kStopped});
    testing::SmtpServerScript refusing;
    refusing.banner = "554 no service here\r\n";
    testing::SmtpLoopbackServer smtp(refusing);
    const HealthReport report = Check({}, smtp.port());
    EXPECT_FALSE(report.Healthy());
    EXPECT_EQ(report.notRunning, std::vector<std::string>{"IM"});
    EXPECT_EQ(HealthLine(report, smtp.port()),
              "Health check failed: SMTP, POP3/IMAP and Control running, IM not running; no 220 "
              "greeting on 127.0.0.1:" +
                  std::to_string(smtp.port()) + " (554 no service here)");
    // The services had their time to come up.
    EXPECT_GE(fake.System().Ticks(), 15000u);
}

}  // namespace
}  // namespace tolva::setup

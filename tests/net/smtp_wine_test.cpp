// The mail client of the Windows build, under Wine, against the native scripted SMTP server on the
// loopback. smtp-wine-check starts the server, names it in TOLVA_SMTP_RELAY (and a port where
// nothing listens in TOLVA_SMTP_CLOSED_RELAY) and afterwards checks what the server received.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "net/setup_mail.h"
#include "net/smtp_client.h"
#include "net/smtp_setup_details.h"
#include "platform/fake/fake_system.h"
#include "platform/win32/network_win32.h"

namespace tolva::net {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

class SmtpWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(relay.empty()) << "run through smtp-wine-check";
        ASSERT_FALSE(closedRelay.empty()) << "run through smtp-wine-check";
    }

    const std::string relay = Environment("TOLVA_SMTP_RELAY");
    const std::string closedRelay = Environment("TOLVA_SMTP_CLOSED_RELAY");
    platform::win32::Win32Network network;
    platform::FakeSystem system;
    MailTransport transport{network, system, {10000, 10000}};
};

TEST_F(SmtpWineTest, SendsAndRefusesOverWinsock) {
    std::string error;
    EXPECT_TRUE(SMTPSendMessage(network, relay, "Subject: plain\r\n\r\nover Winsock\r\n",
                                "a@x.example", "b@y.example", error, transport.timeouts))
        << error;
    EXPECT_FALSE(SMTPSendMessage(network, closedRelay, "x", "a@x.example", "b@y.example", error,
                                 transport.timeouts));
    EXPECT_EQ(error, "Could not connect to host " + closedRelay);
}

TEST_F(SmtpWineTest, SetupMails) {
    SetupMailDetails details = testing::UserDetails();
    details.setupEmail = "sales@distributor.example";
    testing::RecordingLog log;
    // The local server is not running, so the notification goes through the vendor's relay.
    SendSetupMail(SetupMailForm::kNotification, details, transport, log, {closedRelay, relay});
    SendSetupMail(SetupMailForm::kDemonstration, details, transport, log, {relay, closedRelay});
    EXPECT_EQ(log.lines,
              std::vector<std::string>{
                  "Sending email to \"setup@corvane.example;sales@distributor.example\""});
}

}  // namespace
}  // namespace tolva::net

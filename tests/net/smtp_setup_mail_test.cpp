// The setup notification and the demonstration message, sent to scripted loopback servers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/setup_mail.h"
#include "net/smtp_loopback_server.h"
#include "net/smtp_setup_details.h"
#include "platform/fake/fake_system.h"
#include "platform/host/network_host.h"

namespace tolva::net {
namespace {

using testing::SmtpLoopbackServer;
using testing::SmtpServerScript;
using testing::UserDetails;

// The header line of that name in a received message, without the name.
std::string Header(const std::string& message, const std::string& name) {
    const size_t at = message.find("\r\n" + name + ": ");
    if (at == std::string::npos) {
        return "(missing)";
    }
    const size_t start = at + name.size() + 4;
    return message.substr(start, message.find("\r\n", start) - start);
}

std::string Body(const std::string& message) {
    return message.substr(message.find("\r\n\r\n") + 4);
}

class SetupMailTest : public ::testing::Test {
protected:
    platform::host::HostNetwork network;
    platform::FakeSystem system;
    MailTransport transport{network, system, {5000, 2000}};
    testing::RecordingLog log;
};

TEST_F(SetupMailTest, NotificationBody) {
    SetupMailDetails details = UserDetails();
    EXPECT_EQ(NotificationBody(details, system),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<SETUP><NAME>Ren\xC3\xA9"
              "e Dupr\xC3\xA9</NAME>\r\n"
              "<EMAIL>renee@customer.example</EMAIL>\r\n"
              "<COMPANY>Dupr\xC3\xA9 &amp; Fils</COMPANY>\r\n"
              "<COUNTRY>France</COUNTRY>\r\n"
              "<PRODUCT>Corvane Tolva Mail Server</PRODUCT>\r\n"
              "<VERSION>9.1.0</VERSION>\r\n"
              "<DATE>20260102</DATE>\r\n"
              "</SETUP>\r\n"
              "\r\n");

    details.company.clear();
    details.isUpgrade = true;
    details.oldVersion = "8.5.2";
    const std::string upgrade = NotificationBody(details, system);
    EXPECT_NE(upgrade.find("<COMPANY/>\r\n<COUNTRY>"), std::string::npos) << upgrade;
    EXPECT_NE(upgrade.find("<DATE>20260102</DATE>\r\n<PREVIOUS_VERSION>8.5.2</PREVIOUS_VERSION>\r\n"
                           "</SETUP>\r\n"),
              std::string::npos)
        << upgrade;
}

TEST_F(SetupMailTest, NotificationRecipientsSubjectAndLog) {
    struct Case {
        std::string setupEmail;
        std::vector<std::string> rcpt;
        std::string to;
    };
    const Case cases[] = {
        {"", {"RCPT To:setup@corvane.example"}, "setup@corvane.example"},
        {"sales@distributor.example",
         {"RCPT To:setup@corvane.example", "RCPT To:sales@distributor.example"},
         "setup@corvane.example;sales@distributor.example"},
    };
    for (const Case& c : cases) {
        SmtpLoopbackServer local, vendor;
        SetupMailDetails details = UserDetails();
        details.setupEmail = c.setupEmail;
        log.lines.clear();
        SendSetupMail(SetupMailForm::kNotification, details, transport, log,
                      {local.relay(), vendor.relay()});
        local.Stop();
        vendor.Stop();
        EXPECT_EQ(vendor.ConnectionCount(), 0u) << c.to;
        const auto sessions = local.Sessions();
        ASSERT_EQ(sessions.size(), 1u) << c.to;
        const auto& commands = sessions[0].commands;
        ASSERT_EQ(commands.size(), 4 + c.rcpt.size()) << c.to;
        EXPECT_EQ(commands[1], "MAIL From:<setup@corvane.example>");
        EXPECT_EQ(std::vector<std::string>(commands.begin() + 2, commands.end() - 2), c.rcpt);
        const std::string message = sessions[0].messages.at(0);
        EXPECT_EQ(Header(message, "To"), c.to);
        EXPECT_EQ(Header(message, "From"), "Corvane Setup <setup@corvane.example>");
        EXPECT_EQ(Header(message, "Subject"),
                  "=?utf-8?Q?Corvane=20Tolva=20Mail=20Server=209.1.0=20Setup?=");
        EXPECT_EQ(Body(message), NotificationBody(details, system) + "\r\n\r\n\r\n");
        EXPECT_EQ(log.lines, std::vector<std::string>{"Sending email to \"" + c.to + "\""});
    }
}

TEST_F(SetupMailTest, NotificationFallsBackToTheVendorsMailHost) {
    SmtpServerScript refusing;
    refusing.mail = "550 relaying denied\r\n";
    SmtpLoopbackServer refusingLocal(refusing), unreachedVendor, vendorA, vendorB;
    struct Case {
        const char* name;
        std::string local;
        SmtpLoopbackServer* vendor;
    };
    const Case cases[] = {
        {"local server not running", "127.0.0.1:" + std::to_string(testing::UnusedLoopbackPort()),
         &vendorA},
        {"local server refuses", refusingLocal.relay(), &vendorB},
    };
    for (const Case& c : cases) {
        SendSetupMail(SetupMailForm::kNotification, UserDetails(), transport, log,
                      {c.local, c.vendor->relay()});
        c.vendor->Stop();
        const auto sessions = c.vendor->Sessions();
        ASSERT_EQ(sessions.size(), 1u) << c.name;
        ASSERT_EQ(sessions[0].messages.size(), 1u) << c.name;
        EXPECT_EQ(Body(sessions[0].messages[0]),
                  NotificationBody(UserDetails(), system) + "\r\n\r\n\r\n")
            << c.name;
    }
}

TEST_F(SetupMailTest, DemonstrationGoesToTheLocalServerOnly) {
    SmtpLoopbackServer local, vendor;
    SendSetupMail(SetupMailForm::kDemonstration, UserDetails(), transport, log,
                  {local.relay(), vendor.relay()});
    local.Stop();
    const auto sessions = local.Sessions();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0].commands,
              (std::vector<std::string>{"HELO localhost", "MAIL From:<user@demo-mx.example>",
                                        "RCPT To:admin@demo-mx.example", "DATA", "QUIT"}));
    const std::string message = sessions[0].messages.at(0);
    EXPECT_EQ(Header(message, "Subject"), "=?utf-8?Q?Demonstration=20message?=");
    EXPECT_EQ(Header(message, "From"), "user@demo-mx.example");
    EXPECT_EQ(Header(message, "To"), "admin@demo-mx.example");
    EXPECT_EQ(Body(message), "Hello\r\n.\r\n.. and bye\r\n\r\n\r\n");
    EXPECT_NE(sessions[0].wireData.at(0).find("\r\n..\r\n... and bye\r\n"), std::string::npos);
    EXPECT_TRUE(log.lines.empty());

    // Without a local server the demonstration message is not sent elsewhere.
    SmtpLoopbackServer other;
    SendSetupMail(SetupMailForm::kDemonstration, UserDetails(), transport, log,
                  {"127.0.0.1:" + std::to_string(testing::UnusedLoopbackPort()), other.relay()});
    other.Stop();
    vendor.Stop();
    EXPECT_EQ(other.ConnectionCount(), 0u);
    EXPECT_EQ(vendor.ConnectionCount(), 0u);
}

}  // namespace
}  // namespace tolva::net

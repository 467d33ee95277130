// The SMTP client against the scripted loopback server.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/mail_text.h"
#include "net/smtp_client.h"
#include "net/smtp_loopback_server.h"
#include "net/text_mail.h"
#include "platform/fake/fake_system.h"
#include "platform/host/network_host.h"

namespace tolva::net {
namespace {

using testing::SmtpLoopbackServer;
using testing::SmtpServerScript;
using Commands = std::vector<std::string>;

// Short enough for the time-out cases, long enough for a busy machine.
constexpr SmtpTimeouts kShort{5000, 2000};
const std::string kSender = "Corvane Setup <setup@corvane.example>";
const std::string kMessage = "Subject: x\r\n\r\nHello\r\n";

const Commands kFullDialogue = {"HELO localhost", "MAIL From:<setup@corvane.example>",
                                "RCPT To:a@x.example", "DATA", "QUIT"};

TEST(SmtpClient, DialoguesAgainstScriptedServers) {
    struct Case {
        const char* name;
        SmtpServerScript script;
        bool sent;
        Commands commands;
        std::string error;
    };
    auto script = [](auto change) {
        SmtpServerScript s;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"plain", {}, true, kFullDialogue, ""},
        {"multi-line banner answered once",
         script([](SmtpServerScript& s) { s.banner = "220-one\r\n220-two\r\n220 ready\r\n"; }),
         true, kFullDialogue, ""},
        {"replies one byte at a time", script([](SmtpServerScript& s) {
             s.banner = "220-one\r\n220 ready\r\n";
             s.pieceSize = 1;
         }),
         true, kFullDialogue, ""},
        {"greeting 250", script([](SmtpServerScript& s) { s.banner = "250 hi\r\n"; }), true,
         kFullDialogue, ""},
        {"no answer to QUIT", script([](SmtpServerScript& s) { s.quit = ""; }), true, kFullDialogue,
         ""},
        {"banner refuses",
         script([](SmtpServerScript& s) { s.banner = "554 go away\r\n"; }),
         false,
         {},
         "554 go away"},
        {"sender refused",
         script([](SmtpServerScript& s) { s.mail = "550 no such user\r\n"; }),
         false,
         {"HELO localhost", "MAIL From:<setup@corvane.example>"},
         "550 no such user"},
        {"recipient answered 251",
         script([](SmtpServerScript& s) { s.rcpt = {"251 will forward\r\n"}; }),
         false,
         {"HELO localhost", "MAIL From:<setup@corvane.example>", "RCPT To:a@x.example"},
         "251 will forward"},
        {"DATA refused",
         script([](SmtpServerScript& s) { s.data = "554 no data\r\n"; }),
         false,
         {"HELO localhost", "MAIL From:<setup@corvane.example>", "RCPT To:a@x.example", "DATA"},
         "554 no data"},
        {"message refused",
         script([](SmtpServerScript& s) { s.accepted = "550 spam\r\n"; }),
         false,
         {"HELO localhost", "MAIL From:<setup@corvane.example>", "RCPT To:a@x.example", "DATA"},
         "550 spam"},
        {"silent after MAIL",
         script([](SmtpServerScript& s) { s.mail = ""; }),
         false,
         {"HELO localhost", "MAIL From:<setup@corvane.example>"},
         "250 loopback"},
        {"banner never ends",
         script([](SmtpServerScript& s) { s.banner = std::string(kSmtpReplyLineLimit, 'x'); }),
         false,
         {},
         ""},
    };
    for (const Case& c : cases) {
        SmtpLoopbackServer server(c.script);
        platform::host::HostNetwork network;
        std::string error = "unset";
        EXPECT_EQ(SMTPSendMessage(network, server.relay(), kMessage, "a@x.example", kSender, error,
                                  kShort),
                  c.sent)
            << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        server.Stop();
        const auto sessions = server.Sessions();
        ASSERT_EQ(sessions.size(), 1u) << c.name;
        EXPECT_EQ(sessions[0].commands, c.commands) << c.name;
    }
}

TEST(SmtpClient, RecipientsInListOrderAndEveryOneMustBeTaken) {
    {
        SmtpLoopbackServer server;
        platform::host::HostNetwork network;
        std::string error;
        ASSERT_TRUE(SMTPSendMessage(network, server.relay(), kMessage,
                                    " a@x.example ;; <b@y.example>; ", "", error, kShort));
        EXPECT_EQ(server.Sessions()[0].commands,
                  (Commands{"HELO localhost", "MAIL From:<>", "RCPT To:a@x.example",
                            "RCPT To:<b@y.example>", "DATA", "QUIT"}));
    }
    SmtpServerScript script;
    script.rcpt = {"250 ok\r\n", "550 unknown\r\n"};
    SmtpLoopbackServer server(script);
    platform::host::HostNetwork network;
    std::string error;
    EXPECT_FALSE(SMTPSendMessage(network, server.relay(), kMessage, "a@x.example;b@y.example",
                                 kSender, error, kShort));
    EXPECT_EQ(error, "550 unknown");
    EXPECT_EQ(server.Sessions()[0].commands.back(), "RCPT To:b@y.example");
}

TEST(SmtpClient, MessageArrivesIntactWhateverItsLinesAndSize) {
    std::string big;
    for (int i = 0; big.size() < 3 * kSmtpMessageWriteSize; ++i) {
        big += i % 7 == 0 ? ".\r\n" : ".line " + std::to_string(i) + " of the message\r\n";
    }
    const std::string cases[] = {".\r\n", "a\r\n.\r\nb\r\n..\r\n", big};
    for (const std::string& message : cases) {
        SmtpLoopbackServer server;
        platform::host::HostNetwork network;
        std::string error;
        ASSERT_TRUE(SMTPSendMessage(network, server.relay(), message, "a@x.example", kSender, error,
                                    kShort));
        server.Stop();
        const auto session = server.Sessions().at(0);
        ASSERT_EQ(session.messages.size(), 1u);
        // The server sees the message and the line break that the terminator begins with.
        EXPECT_EQ(session.messages[0], message + "\r\n");
        EXPECT_EQ(session.wireData[0].find("\r\n.\r\n"), std::string::npos);
    }
}

TEST(SmtpClient, RefusedBeforeAnythingIsSent) {
    struct Case {
        const char* name;
        std::string recipients, sender;
    };
    const Case cases[] = {
        {"CR LF in the recipients", "a@x.example\r\nRCPT To:evil@z.example", kSender},
        {"LF in the sender", "a@x.example", "x@y.example>\nRCPT To:<evil@z.example"},
        {"CR in the sender", "a@x.example", "x@y.example\r"},
        {"no recipient", " ; ", kSender},
    };
    for (const Case& c : cases) {
        SmtpLoopbackServer server;
        platform::host::HostNetwork network;
        std::string error;
        EXPECT_FALSE(SMTPSendMessage(network, server.relay(), kMessage, c.recipients, c.sender,
                                     error, kShort))
            << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        server.Stop();
        EXPECT_EQ(server.ConnectionCount(), 0u) << c.name;
    }
}

TEST(SmtpClient, NoConnection) {
    platform::host::HostNetwork network;
    const std::string hosts[] = {
        "127.0.0.1:" + std::to_string(testing::UnusedLoopbackPort()),
        "127.0.0.1:99999",
        "127.0.0.1:",
        "127.0.0.1:x25",
    };
    for (const std::string& host : hosts) {
        std::string error;
        EXPECT_FALSE(
            SMTPSendMessage(network, host, kMessage, "a@x.example", kSender, error, kShort));
        EXPECT_EQ(error, "Could not connect to host " + host);
    }
}

TEST(SmtpClient, SplitHost) {
    struct Case {
        std::string text;
        bool ok;
        std::string host;
        uint16_t port;
    };
    const Case cases[] = {
        {"127.0.0.1", true, "127.0.0.1", 25},
        {"mail.corvane.example:2525", true, "mail.corvane.example", 2525},
        {"::1", true, "::1", 25},
        {"h:65535", true, "h", 65535},
        {"h:0", false, "", 0},
        {"h:65536", false, "", 0},
        {"h:-1", false, "", 0},
    };
    for (const Case& c : cases) {
        std::string host;
        uint16_t port = 0;
        ASSERT_EQ(SplitSmtpHost(c.text, host, port), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(host, c.host) << c.text;
            EXPECT_EQ(port, c.port) << c.text;
        }
    }
}

TEST(TextMail, SendsTheComposedMessageWithTheZoneOfEachMail) {
    SmtpLoopbackServer server;
    platform::host::HostNetwork network;
    platform::FakeSystem system;
    system.SetTimeZoneBias(-60);
    const MailTransport transport{network, system, kShort};
    const std::string recipients = "setup@corvane.example;it@customer.example";
    ASSERT_TRUE(SendTextMail(transport, recipients, kSender, "Caf\xC3\xA9 setup", server.relay(),
                             "line\r\n.\r\nend"));
    system.SetTimeZoneBias(300);
    ASSERT_TRUE(SendTextMail(transport, recipients, kSender, "s", server.relay(), "b"));
    server.Stop();
    const auto sessions = server.Sessions();
    ASSERT_EQ(sessions.size(), 2u);
    EXPECT_EQ(sessions[0].messages.at(0),
              "Date: Fri, 02 Jan 2026 03:04:05 +0100\r\n"
              "Subject: =?utf-8?Q?Caf=C3=A9=20setup?=\r\n"
              "From: Corvane Setup <setup@corvane.example>\r\n"
              "To: setup@corvane.example;it@customer.example\r\n"
              "Content-Type: text/plain; charset=\"utf-8\"\r\n"
              "Content-Transfer-Encoding: 8bit\r\n"
              "\r\n"
              "line\r\n.\r\nend\r\n\r\n\r\n");
    EXPECT_EQ(sessions[0].commands.at(2), "RCPT To:setup@corvane.example");
    EXPECT_EQ(sessions[0].commands.at(3), "RCPT To:it@customer.example");
    const std::string second = sessions[1].messages.at(0);
    EXPECT_EQ(second.substr(0, second.find("\r\n")), "Date: Fri, 02 Jan 2026 03:04:05 -0500");
}

}  // namespace
}  // namespace tolva::net

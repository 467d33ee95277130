#include "net/smtp_envelope.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolva::net {
namespace {

TEST(SmtpEnvelope, SenderPath) {
    const std::pair<std::string, std::string> cases[] = {
        {"Corvane Setup <setup@corvane.example>", "<setup@corvane.example>"},
        {"user@demo-mx.example", "<user@demo-mx.example>"},
        {"", "<>"},
        {"<>", "<>"},
        {"a@b.example.", "<a@b.example>"},
        {"Name <  a@b.example.  >", "<a@b.example>"},
        {"x <old@b.example> y <new@b.example>", "<new@b.example>"},
        {"Name <a@b.example", "<a@b.example>"},
        {"  a@b.example ", "<a@b.example>"},
    };
    for (const auto& [sender, path] : cases) {
        EXPECT_EQ(SmtpSenderPath(sender), path) << sender;
    }
}

TEST(SmtpEnvelope, RecipientList) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"setup@corvane.example", {"setup@corvane.example"}},
        {"a@x.example;b@y.example", {"a@x.example", "b@y.example"}},
        {" ; a@x.example ;; b@y.example ; ", {"a@x.example", "b@y.example"}},
        {"<a@x.example>", {"<a@x.example>"}},
        {"", {}},
        {" ; ", {}},
    };
    for (const auto& [list, expected] : cases) {
        EXPECT_EQ(SplitRecipientList(list), expected) << list;
    }
}

TEST(SmtpEnvelope, MessageDataIsDotStuffedAndTerminatedOnce) {
    const std::pair<std::string, std::string> cases[] = {
        // The terminator goes after the message's own last line break.
        {"Hi\r\n", "Hi\r\n\r\n.\r\n"},
        {"Hi", "Hi\r\n.\r\n"},
        {"Hi\r\n.\r\n", "Hi\r\n.\r\n"},
        {".\r\n", "..\r\n\r\n.\r\n"},
        {"a\r\n.\r\nb", "a\r\n..\r\nb\r\n.\r\n"},
        {".start\r\n..two\r\nmid.dle", "..start\r\n...two\r\nmid.dle\r\n.\r\n"},
        {"a\r\n.\r\n\r\n", "a\r\n..\r\n\r\n\r\n.\r\n"},
        // Lone line breaks would let a lenient server end the data early.
        {"a\n.\nb", "a\r\n..\r\nb\r\n.\r\n"},
        {"a\r.\rb", "a\r\n..\r\nb\r\n.\r\n"},
        {"a\n.\n", "a\r\n.\r\n"},
        {"", "\r\n.\r\n"},
    };
    for (const auto& [message, data] : cases) {
        EXPECT_EQ(SmtpMessageData(message), data) << message;
    }
}

TEST(SmtpEnvelope, LineBreaks) {
    EXPECT_FALSE(HasLineBreak("Corvane Setup <setup@corvane.example>"));
    EXPECT_TRUE(HasLineBreak("a@b.example\r\nRCPT To:<c@d.example>"));
    EXPECT_TRUE(HasLineBreak("a@b.example\n"));
    EXPECT_TRUE(HasLineBreak("\ra@b.example"));
}

}  // namespace
}  // namespace tolva::net

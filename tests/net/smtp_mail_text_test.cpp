#include "net/mail_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tolva::net {
namespace {

TEST(MailText, QEncode) {
    const std::pair<std::string, std::string> cases[] = {
        {"Corvane Tolva Mail Server 9.1.0 Setup",
         "Corvane=20Tolva=20Mail=20Server=209.1.0=20Setup"},
        {"a=b?c_d", "a=3Db=3Fc=5Fd"},
        {"Caf\xC3\xA9", "Caf=C3=A9"},
        {std::string("\x00\x1F\x7F\x80\xFF", 5), "=00=1F\x7F=80=FF"},
        {"<x@y.example>!~", "<x@y.example>!~"},
        {"\r\nBcc: x", "=0D=0ABcc:=20x"},
    };
    for (const auto& [text, encoded] : cases) {
        EXPECT_EQ(QEncode(text), encoded) << text;
    }
    EXPECT_EQ(EncodedWord("Demo message"), "=?utf-8?Q?Demo=20message?=");
}

TEST(MailText, DateLineWithZone) {
    const platform::LocalTime time{2026, 6, 7, 9, 5, 3, 0, 0};
    const std::pair<int32_t, std::string> cases[] = {
        {0, "Sun, 07 Jun 2026 09:05:03 -0000"},   {-120, "Sun, 07 Jun 2026 09:05:03 +0200"},
        {300, "Sun, 07 Jun 2026 09:05:03 -0500"}, {-345, "Sun, 07 Jun 2026 09:05:03 +0545"},
        {210, "Sun, 07 Jun 2026 09:05:03 -0330"}, {-840, "Sun, 07 Jun 2026 09:05:03 +1400"},
    };
    for (const auto& [bias, date] : cases) {
        EXPECT_EQ(MailDate(time, bias), date) << bias;
    }
    EXPECT_EQ(MailDate({1999, 12, 31, 23, 59, 58, 0, 5}, -60), "Fri, 31 Dec 1999 23:59:58 +0100");
}

TEST(MailText, ComposedMessageLines) {
    const TextMail mail{"setup@corvane.example;it@customer.example",
                        "Corvane Setup <setup@corvane.example>", "T\xC3\xA9st subject",
                        "<?xml?>\r\nbody"};
    EXPECT_EQ(ComposeTextMessage(mail, {2026, 1, 2, 3, 4, 5, 0, 5}, -60),
              "Date: Fri, 02 Jan 2026 03:04:05 +0100\r\n"
              "Subject: =?utf-8?Q?T=C3=A9st=20subject?=\r\n"
              "From: Corvane Setup <setup@corvane.example>\r\n"
              "To: setup@corvane.example;it@customer.example\r\n"
              "Content-Type: text/plain; charset=\"utf-8\"\r\n"
              "Content-Transfer-Encoding: 8bit\r\n"
              "\r\n"
              "<?xml?>\r\nbody\r\n\r\n");
}

}  // namespace
}  // namespace tolva::net

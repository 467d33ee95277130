#pragma once
// The plain-text mail the installer sends: header lines, the encoded subject and the date line.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace tolva::net {

// Every byte that is "=", "?", "_", a space, below 0x20 or above 0x7F as "=" and two upper-case
// hexadecimal digits; every other byte unchanged.
std::string QEncode(std::string_view text);

// "=?utf-8?Q?" + QEncode(text) + "?=".
std::string EncodedWord(std::string_view utf8Text);

// "+HHMM" or "-HHMM": local time's offset from UTC. biasMinutes is what must be added to local
// time to get UTC. A zero offset reads "-0000".
std::string MailZone(int32_t biasMinutes);

// "Sun, 07 Jun 2026 09:05:03 +0200".
std::string MailDate(const platform::LocalTime& time, int32_t biasMinutes);

struct TextMail {
    std::string recipients;  // entries separated by ";"
    std::string sender;
    std::string subject;  // UTF-8
    std::string body;     // UTF-8
};

// The whole message: Date, Subject, From, To, Content-Type and Content-Transfer-Encoding lines,
// an empty line, the body, and two more line breaks.
std::string ComposeTextMessage(const TextMail& mail, const platform::LocalTime& time,
                               int32_t biasMinutes);

}  // namespace tolva::net

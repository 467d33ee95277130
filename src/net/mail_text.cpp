#include "net/mail_text.h"

#include <cstdio>
#include <cstdlib>

namespace tolva::net {
namespace {

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

std::string QEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '=' || byte == '?' || byte == '_' || byte <= 0x20 || byte > 0x7F) {
            out += '=';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

std::string EncodedWord(std::string_view utf8Text) {
    return "=?utf-8?Q?" + QEncode(utf8Text) + "?=";
}

std::string MailZone(int32_t biasMinutes) {
    const int32_t offset = -biasMinutes;
    const int32_t magnitude = std::abs(offset);
    char zone[16];
    std::snprintf(zone, sizeof zone, "%c%02d%02d", offset > 0 ? '+' : '-',
                  static_cast<int>(magnitude / 60 % 100), static_cast<int>(magnitude % 60));
    return zone;
}

std::string MailDate(const platform::LocalTime& time, int32_t biasMinutes) {
    const char* day = time.dayOfWeek < 7 ? kDayNames[time.dayOfWeek] : kDayNames[0];
    const char* month =
        time.month >= 1 && time.month <= 12 ? kMonthNames[time.month - 1] : kMonthNames[0];
    char text[64];
    std::snprintf(text, sizeof text, "%s, %.2d %s %d %.2d:%.2d:%.2d %s", day, time.day, month,
                  time.year, time.hour, time.minute, time.second, MailZone(biasMinutes).c_str());
    return text;
}

std::string ComposeTextMessage(const TextMail& mail, const platform::LocalTime& time,
                               int32_t biasMinutes) {
    std::string message;
    message += "Date: " + MailDate(time, biasMinutes) + "\r\n";
    message += "Subject: " + EncodedWord(mail.subject) + "\r\n";
    message += "From: " + mail.sender + "\r\n";
    message += "To: " + mail.recipients + "\r\n";
    message += "Content-Type: text/plain; charset=\"utf-8\"\r\n";
    message += "Content-Transfer-Encoding: 8bit\r\n";
    message += "\r\n";
    message += mail.body;
    message += "\r\n\r\n";
    return message;
}

}  // namespace tolva::net

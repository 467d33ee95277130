#pragma once
// The user details the setup-mail tests send, and a setup log that keeps what it is given.

#include <string>
#include <string_view>
#include <vector>

#include "net/setup_mail.h"

namespace tolva::testing {

class RecordingLog : public util::SetupLogSink {
public:
    void Write(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

// A user and company name with "é" and "&", and a demonstration text with lines that begin with
// ".".
inline net::SetupMailDetails UserDetails() {
    net::SetupMailDetails details;
    details.name = u"Ren\u00E9e Dupr\u00E9";
    details.email = u"renee@customer.example";
    details.company = u"Dupr\u00E9 & Fils";
    details.country = u"France";
    details.setupTitle = u"Corvane Tolva Mail Server 9.1.0 Setup";
    details.demoSubject = u"Demonstration message";
    details.demoBody = u"Hello\r\n.\r\n.. and bye";
    return details;
}

}  // namespace tolva::testing

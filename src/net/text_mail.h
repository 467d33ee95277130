#pragma once
// Sends one plain-text UTF-8 mail through a relay, without authentication.

#include <string_view>

#include "net/smtp_client.h"
#include "platform/network.h"
#include "platform/system.h"

namespace tolva::net {

// What sending needs from the machine: the network, the clock and time zone for the Date line.
struct MailTransport {
    platform::Network& network;
    const platform::System& system;
    SmtpTimeouts timeouts = {};
};

// Composes the message (the zone is read again for every mail) and sends it with SMTPSendMessage.
// True when the server accepted it; any failure, also while composing, gives false.
bool SendTextMail(const MailTransport& transport, std::string_view recipients,
                  std::string_view sender, std::string_view subject, std::string_view relayHost,
                  std::string_view body);

}  // namespace tolva::net

#include "net/text_mail.h"

#include <exception>
#include <string>

#include "net/mail_text.h"

namespace tolva::net {

bool SendTextMail(const MailTransport& transport, std::string_view recipients,
                  std::string_view sender, std::string_view subject, std::string_view relayHost,
                  std::string_view body) {
    try {
        const TextMail mail{std::string(recipients), std::string(sender), std::string(subject),
                            std::string(body)};
        const std::string message =
            ComposeTextMessage(mail, transport.system.Now(), transport.system.TimeZoneBias());
        std::string errorText;
        return SMTPSendMessage(transport.network, relayHost, message, recipients, sender, errorText,
                               transport.timeouts);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace tolva::net

#include "net/smtp_dialogue.h"

#include <utility>

namespace tolva::net {

SmtpDialogue::SmtpDialogue(std::string senderPath, std::vector<std::string> recipients,
                           std::string message)
    : senderPath_(std::move(senderPath)),
      recipients_(std::move(recipients)),
      message_(std::move(message)) {}

bool SmtpDialogue::Answer(int code, std::string& out) {
    const bool ready = code == 220 || code == 250;
    switch (state_) {
        case SmtpState::kGreeting:
            if (!ready) {
                return false;
            }
            out = std::string("HELO ") + kSmtpGreetingName + "\r\n";
            state_ = SmtpState::kAfterHelo;
            return true;
        case SmtpState::kAfterHelo:
            if (!ready) {
                return false;
            }
            out = "MAIL From:" + senderPath_ + "\r\n";
            state_ = SmtpState::kRecipients;
            return true;
        case SmtpState::kRecipients:
            if (code != 250 || nextRecipient_ >= recipients_.size()) {
                return false;
            }
            out = "RCPT To:" + recipients_[nextRecipient_] + "\r\n";
            if (++nextRecipient_ == recipients_.size()) {
                state_ = SmtpState::kData;
            }
            return true;
        case SmtpState::kData:
            if (code != 250) {
                return false;
            }
            out = "DATA\r\n";
            state_ = SmtpState::kMessage;
            return true;
        case SmtpState::kMessage:
            if (code != 354) {
                return false;
            }
            out = message_;
            state_ = SmtpState::kSent;
            return true;
        case SmtpState::kSent:
            if (code != 250) {
                return false;
            }
            out = "QUIT\r\n";
            accepted_ = true;
            state_ = SmtpState::kQuit;
            return true;
        case SmtpState::kQuit:
            break;
    }
    return false;
}

}  // namespace tolva::net

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
        case SmtpState::Greeting:
            if (!ready) {
                return false;
            }
            out = std::string("HELO ") + kSmtpGreetingName + "\r\n";
            state_ = SmtpState::AfterHelo;
            return true;
        case SmtpState::AfterHelo:
            if (!ready) {
                return false;
            }
            out = "MAIL From:" + senderPath_ + "\r\n";
            state_ = SmtpState::Recipients;
            return true;
        case SmtpState::Recipients:
            if (code != 250 || nextRecipient_ >= recipients_.size()) {
                return false;
            }
            out = "RCPT To:" + recipients_[nextRecipient_] + "\r\n";
            if (++nextRecipient_ == recipients_.size()) {
                state_ = SmtpState::Data;
            }
            return true;
        case SmtpState::Data:
            if (code != 250) {
                return false;
            }
            out = "DATA\r\n";
            state_ = SmtpState::Message;
            return true;
        case SmtpState::Message:
            if (code != 354) {
                return false;
            }
            out = message_;
            state_ = SmtpState::Sent;
            return true;
        case SmtpState::Sent:
            if (code != 250) {
                return false;
            }
            out = "QUIT\r\n";
            accepted_ = true;
            state_ = SmtpState::Quit;
            return true;
        case SmtpState::Quit:
            break;
    }
    return false;
}

}  // namespace tolva::net

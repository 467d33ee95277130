#pragma once
// The client side of one SMTP mail transaction as a table of states: each reply is answered with
// the next command, or ends the dialogue.

#include <cstddef>
#include <string>
#include <vector>

namespace tolva::net {

enum class SmtpState { kGreeting, kAfterHelo, kRecipients, kData, kMessage, kSent, kQuit };

inline constexpr char kSmtpGreetingName[] = "localhost";

class SmtpDialogue {
public:
    // senderPath in angle brackets; recipients sent as given; message already prepared for the
    // wire (dot-stuffed, ending with the terminating "." line).
    SmtpDialogue(std::string senderPath, std::vector<std::string> recipients, std::string message);

    // Answers a reply with the given code. True: send `out` and read the next reply. False: close
    // the connection and end (an unexpected code, or the dialogue is over).
    bool Answer(int code, std::string& out);

    SmtpState state() const { return state_; }
    // The server took the message (250 after its data).
    bool accepted() const { return accepted_; }

private:
    std::string senderPath_;
    std::vector<std::string> recipients_;
    std::string message_;
    SmtpState state_ = SmtpState::kGreeting;
    size_t nextRecipient_ = 0;
    bool accepted_ = false;
};

}  // namespace tolva::net

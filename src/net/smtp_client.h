#pragma once
// A small SMTP client without authentication: one worker thread per message, the caller waits.

#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "net/smtp_dialogue.h"
#include "net/smtp_reply_reader.h"
#include "platform/network.h"

namespace tolva::net {

inline constexpr uint16_t kSmtpDefaultPort = 25;
inline constexpr uint32_t kSmtpConnectTimeoutMs = 60000;
inline constexpr size_t kSmtpMessageWriteSize = 2048;

// Production values by default; tests shorten them.
struct SmtpTimeouts {
    uint32_t connectMs = kSmtpConnectTimeoutMs;
    uint32_t replyPieceMs = kSmtpReplyPieceTimeoutMs;
};

// Splits "host" or "host:port" (one colon only, so IPv6 literals keep the default port). False when
// the port after the colon is not a number from 1 to 65535.
bool SplitSmtpHost(std::string_view text, std::string& host, uint16_t& port);

// Runs the dialogue over a connected stream until either side ends it, then closes the stream.
// lastReply receives each reply line as it arrives.
void RunSmtpSession(platform::Connection& connection, SmtpDialogue& dialogue,
                    uint32_t replyPieceTimeoutMs, std::string& lastReply);

// The worker of one message: connects, runs the dialogue, and keeps the results for the caller,
// who reads them only after WaitFor().
class TSMTPClientThread {
public:
    TSMTPClientThread(platform::Network& network, std::string host, std::string senderPath,
                      std::vector<std::string> recipients, std::string messageData,
                      const SmtpTimeouts& timeouts);
    ~TSMTPClientThread();
    TSMTPClientThread(const TSMTPClientThread&) = delete;
    TSMTPClientThread& operator=(const TSMTPClientThread&) = delete;

    // False when the thread could not be started.
    bool Start();
    void WaitFor();

    bool connected() const { return connected_; }
    bool accepted() const { return accepted_; }
    const std::string& lastReply() const { return lastReply_; }

private:
    void Execute();

    platform::Network& network_;
    std::string host_;
    SmtpDialogue dialogue_;
    SmtpTimeouts timeouts_;
    std::string lastReply_;
    bool connected_ = false;
    bool accepted_ = false;
    std::thread thread_;
};

// Sends one message through the relay host ("name", "address" or either with ":port"). recipients
// are separated by ";". True when the server accepted the message. Otherwise errorText is
// "Could not connect to host <host>" when no connection was made, else the last reply line; a
// sender or recipient holding a line break, or no recipient at all, is refused before connecting.
bool SMTPSendMessage(platform::Network& network, std::string_view host, std::string_view message,
                     std::string_view recipients, std::string_view sender, std::string& errorText,
                     const SmtpTimeouts& timeouts = {});

}  // namespace tolva::net

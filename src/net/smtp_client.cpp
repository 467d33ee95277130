#include "net/smtp_client.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <utility>

#include "net/smtp_envelope.h"

namespace tolva::net {

bool SplitSmtpHost(std::string_view text, std::string& host, uint16_t& port) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || text.find(':', colon + 1) != std::string_view::npos) {
        host = std::string(text);
        port = kSmtpDefaultPort;
        return true;
    }
    const std::string_view digits = text.substr(colon + 1);
    if (digits.empty() || digits.size() > 5) {
        return false;
    }
    uint32_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (value == 0 || value > 65535) {
        return false;
    }
    host = std::string(text.substr(0, colon));
    port = static_cast<uint16_t>(value);
    return true;
}

void RunSmtpSession(platform::Connection& connection, SmtpDialogue& dialogue,
                    uint32_t replyPieceTimeoutMs, std::string& lastReply) {
    SmtpReply reply;
    std::string answer;
    while (ReadSmtpReply(connection, replyPieceTimeoutMs, reply)) {
        lastReply = reply.line;
        if (!dialogue.Answer(reply.code, answer)) {
            break;
        }
        bool sent = true;
        for (size_t offset = 0; offset < answer.size() && sent; offset += kSmtpMessageWriteSize) {
            const size_t size = std::min(kSmtpMessageWriteSize, answer.size() - offset);
            sent = connection.SendAll(answer.data() + offset, size).ok();
        }
        if (!sent) {
            break;
        }
    }
    connection.Close();
}

TSMTPClientThread::TSMTPClientThread(platform::Network& network, std::string host,
                                     std::string senderPath, std::vector<std::string> recipients,
                                     std::string messageData, const SmtpTimeouts& timeouts)
    : network_(network),
      host_(std::move(host)),
      dialogue_(std::move(senderPath), std::move(recipients), std::move(messageData)),
      timeouts_(timeouts) {}

TSMTPClientThread::~TSMTPClientThread() {
    WaitFor();
}

bool TSMTPClientThread::Start() {
    try {
        thread_ = std::thread([this] { Execute(); });
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TSMTPClientThread::WaitFor() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void TSMTPClientThread::Execute() {
    std::string host;
    uint16_t port = 0;
    if (!SplitSmtpHost(host_, host, port)) {
        return;
    }
    std::unique_ptr<platform::Connection> connection;
    if (!network_.Connect(host, port, timeouts_.connectMs, connection).ok() || !connection) {
        return;
    }
    connected_ = true;
    RunSmtpSession(*connection, dialogue_, timeouts_.replyPieceMs, lastReply_);
    accepted_ = dialogue_.accepted();
}

bool SMTPSendMessage(platform::Network& network, std::string_view host, std::string_view message,
                     std::string_view recipients, std::string_view sender, std::string& errorText,
                     const SmtpTimeouts& timeouts) {
    errorText.clear();
    if (HasLineBreak(sender) || HasLineBreak(recipients)) {
        errorText = "Sender or recipient holds a line break";
        return false;
    }
    std::vector<std::string> list = SplitRecipientList(recipients);
    if (list.empty()) {
        errorText = "No recipient";
        return false;
    }
    TSMTPClientThread worker(network, std::string(host), SmtpSenderPath(sender), std::move(list),
                             SmtpMessageData(message), timeouts);
    const bool started = worker.Start();
    worker.WaitFor();
    if (!started || !worker.connected()) {
        errorText = "Could not connect to host " + std::string(host);
        return false;
    }
    if (!worker.accepted()) {
        errorText = worker.lastReply();
        return false;
    }
    return true;
}

}  // namespace tolva::net

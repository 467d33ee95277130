#include "net/smtp_reply_reader.h"

#include <array>

namespace tolva::net {
namespace {

// Removes every complete line (ended by a line feed) whose fourth character is "-".
void DropContinuationLines(std::string& text) {
    std::string kept;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            kept.append(text, start, std::string::npos);
            break;
        }
        const bool continuation = end - start >= 4 && text[start + 3] == '-';
        if (!continuation) {
            kept.append(text, start, end + 1 - start);
        }
        start = end + 1;
    }
    text.swap(kept);
}

bool EndsWithLineBreak(const std::string& text) {
    return text.size() >= 2 && text[text.size() - 2] == '\r' && text.back() == '\n';
}

}  // namespace

int SmtpReplyCode(const std::string& line) {
    if (line.size() < 3) {
        return 0;
    }
    int code = 0;
    for (size_t i = 0; i < 3; ++i) {
        if (line[i] < '0' || line[i] > '9') {
            return 0;
        }
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

bool ReadSmtpReply(platform::Connection& connection, uint32_t pieceTimeoutMs, SmtpReply& reply) {
    std::string text;
    size_t total = 0;
    std::array<char, kSmtpReplyPieceSize> piece{};
    for (;;) {
        if (!connection.WaitReadable(pieceTimeoutMs)) {
            return false;
        }
        size_t got = 0;
        if (!connection.Receive(piece.data(), piece.size(), got).ok() || got == 0) {
            return false;
        }
        total += got;
        text.append(piece.data(), got);
        DropContinuationLines(text);
        if (EndsWithLineBreak(text)) {
            text.resize(text.size() - 2);
            reply.code = SmtpReplyCode(text);
            reply.line = std::move(text);
            return true;
        }
        if (text.size() >= kSmtpReplyLineLimit || total >= kSmtpReplyTotalLimit) {
            return false;
        }
    }
}

}  // namespace tolva::net

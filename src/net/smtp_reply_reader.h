#pragma once
// Reads one SMTP reply from a connection: continuation lines ("250-...") are skipped, the reply is
// complete when what remains ends with CR LF.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/network.h"

namespace tolva::net {

inline constexpr size_t kSmtpReplyPieceSize = 255;
inline constexpr uint32_t kSmtpReplyPieceTimeoutMs = 60000;
// A reply line that reaches this length without its line break is given up.
inline constexpr size_t kSmtpReplyLineLimit = 1000;
// Everything one reply may send, continuation lines included, so that an endless stream of
// continuation lines cannot hold the client forever.
inline constexpr size_t kSmtpReplyTotalLimit = 65536;

struct SmtpReply {
    // The number formed by the first three characters; 0 when they are not three digits.
    int code = 0;
    // The final line(s) of the reply without the closing CR LF.
    std::string line;
};

// Waits up to pieceTimeoutMs for each piece of at most kSmtpReplyPieceSize bytes. False when no
// complete reply arrived: time-out, closed connection, receive error, or a reply over the limits;
// reply is then left unchanged.
bool ReadSmtpReply(platform::Connection& connection, uint32_t pieceTimeoutMs, SmtpReply& reply);

// The reply code of a reply line as ReadSmtpReply computes it.
int SmtpReplyCode(const std::string& line);

}  // namespace tolva::net

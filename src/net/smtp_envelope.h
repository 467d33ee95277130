#pragma once
// What the SMTP client sends besides the commands: the sender path, the recipients and the
// message data as they go on the wire.

#include <string>
#include <string_view>
#include <vector>

namespace tolva::net {

// "Name <box@host>" gives "<box@host>", a bare address is put in angle brackets, an empty sender
// gives "<>"; a final "." of the address is dropped.
std::string SmtpSenderPath(std::string_view sender);

// The list split at ";", each entry trimmed, empty entries dropped.
std::vector<std::string> SplitRecipientList(std::string_view recipients);

// A CR or LF in a sender or recipient would let it inject commands into the dialogue.
bool HasLineBreak(std::string_view text);

// The message as DATA sends it: lone CR and LF become CR LF, the terminating CR LF "." CR LF is
// appended unless the message already ends with it, and every line beginning with "." gets one
// more "." in front (the terminating line excepted).
std::string SmtpMessageData(std::string_view message);

}  // namespace tolva::net

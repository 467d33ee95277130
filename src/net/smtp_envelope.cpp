#include "net/smtp_envelope.h"

#include "util/text.h"

namespace tolva::net {
namespace {

constexpr std::string_view kTerminator = "\r\n.\r\n";

std::string NormaliseLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string SmtpSenderPath(std::string_view sender) {
    std::string address;
    const size_t open = sender.rfind('<');
    if (open != std::string_view::npos) {
        const size_t close = sender.find('>', open + 1);
        const size_t length =
            close == std::string_view::npos ? std::string_view::npos : close - open - 1;
        address = util::Trim(sender.substr(open + 1, length));
    } else {
        address = util::Trim(sender);
    }
    if (!address.empty() && address.back() == '.') {
        address.pop_back();
    }
    return "<" + address + ">";
}

std::vector<std::string> SplitRecipientList(std::string_view recipients) {
    return util::TrimmedListItems(recipients);
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string SmtpMessageData(std::string_view message) {
    std::string text = NormaliseLineBreaks(message);
    if (!text.ends_with(kTerminator)) {
        text += kTerminator;
    }
    // Everything before the terminating "." line; it ends with CR LF.
    const std::string_view body = std::string_view(text).substr(0, text.size() - 3);
    std::string data;
    data.reserve(text.size() + 16);
    bool lineStart = true;
    for (const char c : body) {
        if (lineStart && c == '.') {
            data += '.';
        }
        data += c;
        lineStart = c == '\n';
    }
    data += ".\r\n";
    return data;
}

}  // namespace tolva::net

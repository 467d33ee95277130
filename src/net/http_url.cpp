#include "net/http_url.h"

#include <vector>

#include "util/text.h"

namespace tolva::net {
namespace {

std::string DecodeWhenEscaped(std::string_view text) {
    std::string trimmed = util::Trim(text);
    return trimmed.find('%') == std::string::npos ? trimmed : UrlDecode(trimmed);
}

bool HasControlCharacter(std::string_view text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) {
            return true;
        }
    }
    return false;
}

// Each ".." segment takes itself, the "/" after it and the segment before it away; the query is
// left alone.
std::string RemoveDotDotSegments(std::string_view path) {
    size_t queryAt = path.find('?');
    std::string_view query = queryAt == std::string_view::npos ? "" : path.substr(queryAt);
    std::string_view rest = path.substr(0, queryAt);
    std::vector<std::string_view> kept;
    bool endsInFolder = false;
    size_t start = 0;
    for (;;) {
        size_t slash = rest.find('/', start);
        std::string_view segment = rest.substr(start, slash - start);
        bool last = slash == std::string_view::npos;
        if (segment == ".." && !kept.empty()) {
            // The first segment before the leading "/" is empty and never removed.
            if (kept.size() > 1) {
                kept.pop_back();
            }
            endsInFolder = last;
        } else if (segment != ".." || kept.empty()) {
            kept.push_back(segment);
            endsInFolder = false;
        }
        if (last) {
            break;
        }
        start = slash + 1;
    }
    std::string out;
    for (size_t i = 0; i < kept.size(); ++i) {
        if (i > 0) {
            out += '/';
        }
        out += kept[i];
    }
    if (endsInFolder) {
        out += '/';
    }
    out += query;
    return out;
}

}  // namespace

std::string UrlDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && util::HexDigitValue(text[i + 1]) >= 0 &&
                   util::HexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(util::HexDigitValue(text[i + 1]) * 16 +
                                     util::HexDigitValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

bool UsesTls(std::string_view url) {
    return util::LowerCase(url).find("https://") != std::string::npos;
}

bool SplitHttpUrl(std::string_view url, HttpUrl& parts) {
    parts = HttpUrl{};
    if (HasControlCharacter(url)) {
        return false;
    }
    parts.tls = UsesTls(url);
    size_t schemeEnd = url.find("//");
    std::string_view rest = schemeEnd == std::string_view::npos ? url : url.substr(schemeEnd + 2);
    size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    parts.path = slash == std::string_view::npos ? "/" : std::string(rest.substr(slash));

    size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        std::string_view userInfo = authority.substr(0, at);
        authority = authority.substr(at + 1);
        size_t colon = userInfo.find(':');
        parts.user = DecodeWhenEscaped(userInfo.substr(0, colon));
        if (colon != std::string_view::npos) {
            std::string_view afterUser = userInfo.substr(colon + 1);
            parts.password = DecodeWhenEscaped(afterUser.substr(0, afterUser.find(':')));
        }
    }

    std::string_view portText;
    bool hasPort = false;
    if (!authority.empty() && authority.front() == '[') {
        size_t close = authority.find(']');
        if (close == std::string_view::npos) {
            return false;
        }
        parts.hostAsWritten = std::string(authority.substr(0, close + 1));
        parts.host = std::string(authority.substr(1, close - 1));
        std::string_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') {
                return false;
            }
            hasPort = true;
            portText = after.substr(1);
        }
    } else {
        size_t colon = authority.find(':');
        parts.hostAsWritten = std::string(authority.substr(0, colon));
        parts.host = parts.hostAsWritten;
        if (colon != std::string_view::npos) {
            hasPort = true;
            portText = authority.substr(colon + 1);
        }
    }
    if (parts.host.find('%') != std::string::npos) {
        parts.host = UrlDecode(parts.host);
    }
    if (parts.host.empty()) {
        return false;
    }
    if (!hasPort) {
        parts.port = parts.tls ? 443 : 80;
        return true;
    }
    if (portText.empty() || portText.size() > 5) {
        return false;
    }
    uint32_t port = 0;
    for (char c : portText) {
        if (c < '0' || c > '9') {
            return false;
        }
        port = port * 10 + static_cast<uint32_t>(c - '0');
    }
    if (port == 0 || port > 65535) {
        return false;
    }
    parts.port = static_cast<uint16_t>(port);
    return true;
}

bool IsWebAddress(std::string_view url) {
    std::string lower = util::LowerCase(url.substr(0, 8));
    HttpUrl parts;
    return (lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0) &&
           SplitHttpUrl(url, parts);
}

std::string ResolveRedirect(const HttpUrl& from, std::string_view location) {
    if (location.find("://") != std::string_view::npos) {
        return std::string(location);
    }
    std::string path;
    if (!location.empty() && location.front() == '/') {
        path = std::string(location);
    } else {
        std::string_view base = std::string_view(from.path).substr(0, from.path.find('?'));
        path = std::string(base.substr(0, base.rfind('/') + 1)) + std::string(location);
    }
    path = RemoveDotDotSegments(path);
    std::string_view tail = path;
    if (!tail.empty() && tail.front() == '/') {
        tail.remove_prefix(1);
    }
    return std::string(from.tls ? "https://" : "http://") + from.hostAsWritten + ":" +
           std::to_string(from.port) + "/" + std::string(tail);
}

bool SameOrigin(const HttpUrl& a, const HttpUrl& b) {
    return a.tls == b.tls && a.port == b.port && util::SameText(a.host, b.host);
}

}  // namespace tolva::net

#pragma once
// How the HTTP client reads a URL and where a redirect leads.

#include <cstdint>
#include <string>
#include <string_view>

namespace tolva::net {

struct HttpUrl {
    bool tls = false;
    std::string hostAsWritten;  // as in the URL: IPv6 literals keep their brackets, escapes stay
    std::string host;           // what to connect to: no brackets, escapes decoded
    uint16_t port = 0;
    std::string path;  // from the first "/" after the authority, query included
    std::string user;  // empty: no credentials
    std::string password;
};

// "+" becomes a space and "%" with two hexadecimal digits that byte; any other "%" stays.
std::string UrlDecode(std::string_view text);

// TLS when "https://" occurs anywhere (any case); the text up to the first "//" is the scheme.
bool UsesTls(std::string_view url);

// False for a URL that cannot be requested: a control character anywhere (it would end the request
// line early), no host, or a port that is not a number from 1 to 65535.
[[nodiscard]] bool SplitHttpUrl(std::string_view url, HttpUrl& parts);

// True for an address that may be handed to the system to open: it begins with "http://" or
// "https://" (any case) and splits into a host and a port, with no control character anywhere.
bool IsWebAddress(std::string_view url);

// The URL a redirect's location leads to from the request for `from`. A location holding "://" is
// taken as it is; any other is resolved against from's path, ".." segments removed.
std::string ResolveRedirect(const HttpUrl& from, std::string_view location);

// Credentials and cookies travel with a redirect only to the same scheme, host and port.
bool SameOrigin(const HttpUrl& a, const HttpUrl& b);

}  // namespace tolva::net

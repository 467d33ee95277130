// The HTTP response reader on arbitrary bytes: the header block, header values, the body in its
// framing and the redirect target. The first byte chooses how the rest is cut into pieces; reading
// it in pieces must give exactly what reading it whole gives.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/http_response.h"
#include "net/http_url.h"

namespace {

using tolva::net::HttpBodyDecoder;
using tolva::net::HttpHeadReader;

struct Reading {
    HttpHeadReader::Result head = HttpHeadReader::Result::kNeedMore;
    bool started = false;
    HttpBodyDecoder::Result body = HttpBodyDecoder::Result::kNeedMore;
    std::string headText;
    std::string content;
};

Reading Read(std::string_view data, size_t piece) {
    Reading r;
    HttpHeadReader head;
    HttpBodyDecoder body;
    size_t at = 0;
    for (; at < data.size() && r.head == HttpHeadReader::Result::kNeedMore; at += piece) {
        r.head = head.Feed(data.substr(at, piece));
    }
    if (r.head != HttpHeadReader::Result::kComplete) {
        return r;
    }
    r.headText = head.head();
    r.started = body.Start(r.headText);
    if (!r.started) {
        return r;
    }
    r.body = body.Feed(head.rest(), r.content);
    for (; at < data.size(); at += piece) {
        r.body = body.Feed(data.substr(at, piece), r.content);
    }
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size == 0) {
        return 0;
    }
    size_t piece = bytes[0] % 16 + 1;
    std::string_view data(reinterpret_cast<const char*>(bytes) + 1, size - 1);

    Reading whole = Read(data, data.size() + 1);
    Reading cut = Read(data, piece);
    if (whole.head != cut.head || whole.headText != cut.headText || whole.started != cut.started ||
        whole.body != cut.body || whole.content != cut.content) {
        __builtin_trap();
    }
    if (whole.head == HttpHeadReader::Result::kComplete &&
        whole.headText.size() > tolva::net::kMaxHeadSize) {
        __builtin_trap();
    }
    // Decoding never makes bytes up.
    if (whole.content.size() > data.size()) {
        __builtin_trap();
    }
    if (whole.head != HttpHeadReader::Result::kComplete) {
        return 0;
    }

    (void)tolva::net::StatusLine(whole.headText);
    int code = tolva::net::StatusCode(whole.headText);
    if (code < 0 || code > 999) {
        __builtin_trap();
    }
    (void)tolva::net::HeaderValue(whole.headText, "Set-Cookie");
    std::string location = tolva::net::HeaderValue(whole.headText, "Location");
    tolva::net::HttpUrl from;
    if (!tolva::net::SplitHttpUrl("https://user:pw@[::1]:8443/a/b/c.dat?q=1", from)) {
        __builtin_trap();
    }
    std::string next = tolva::net::ResolveRedirect(from, location);
    tolva::net::HttpUrl parts;
    if (tolva::net::SplitHttpUrl(next, parts)) {
        // An accepted URL can never put a line break into the request.
        for (char c : parts.path + parts.hostAsWritten) {
            if (c == '\r' || c == '\n') {
                __builtin_trap();
            }
        }
        (void)tolva::net::SameOrigin(from, parts);
    }
    return 0;
}

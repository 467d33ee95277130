// Reading responses from bytes: the header block, header values and body framings, fed in every
// way the network may cut them.

#include "net/http_response.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolva::net {
namespace {

TEST(HttpHead, EndsAtFirstBlankLineEvenWhenSplit) {
    const std::string response = "HTTP/1.1 200 OK\r\nA: 1\r\n\r\nbody\r\n\r\nmore";
    for (size_t piece = 1; piece <= response.size(); ++piece) {
        HttpHeadReader reader;
        HttpHeadReader::Result result = HttpHeadReader::Result::kNeedMore;
        size_t at = 0;
        for (; at < response.size() && result == HttpHeadReader::Result::kNeedMore; at += piece) {
            result = reader.Feed(std::string_view(response).substr(at, piece));
        }
        ASSERT_EQ(result, HttpHeadReader::Result::kComplete) << piece;
        EXPECT_EQ(reader.head(), "HTTP/1.1 200 OK\r\nA: 1\r\n\r\n") << piece;
        EXPECT_EQ(reader.rest() + response.substr(std::min(at, response.size())),
                  "body\r\n\r\nmore")
            << piece;
    }
}

TEST(HttpHead, RefusesEndlessHead) {
    HttpHeadReader reader;
    std::string line = "X-Filler: " + std::string(1000, 'a') + "\r\n";
    HttpHeadReader::Result result = reader.Feed("HTTP/1.1 200 OK\r\n");
    while (result == HttpHeadReader::Result::kNeedMore) {
        result = reader.Feed(line);
    }
    EXPECT_EQ(result, HttpHeadReader::Result::kTooLarge);
    EXPECT_LE(reader.head().size(), kMaxHeadSize + line.size());
}

TEST(HttpHead, StatusLineAndHeaderValues) {
    const std::string head =
        "  HTTP/1.1 302 Found \r\nX-Location: wrong\r\nlocation:   /next  \r\n"
        "Set-Cookie: id=7; Path=/\r\nContent-Length:5\r\n\r\n";
    EXPECT_EQ(StatusLine(head), "http/1.1 302 found");
    EXPECT_EQ(HeaderValue(head, "Location"), "/next");
    EXPECT_EQ(HeaderValue(head, "SET-COOKIE"), "id=7; Path=/");
    // The name must be followed by ": ".
    EXPECT_EQ(HeaderValue(head, "Content-Length"), "");
    EXPECT_EQ(HeaderValue(head, "Missing"), "");
}

TEST(HttpHead, StatusCodeIsTheNumberAfterTheVersion) {
    struct Case {
        const char* line;
        int code;
    } cases[] = {
        {"HTTP/1.1 200 OK", 200},
        {"  http/1.0 302 Found  ", 302},
        {"HTTP/1.1 301", 301},
        {"HTTP/1.1 404 Not in 200 places", 404},
        {"HTTP/1.1 500 200", 500},
        {"HTTP/1.1 2000 OK", 0},
        {"HTTP/1.1 20 OK", 0},
        {"HTTP/1.1 2x0 OK", 0},
        {"HTTP/1.1  200 OK", 0},
        {"ICY 200 OK", 0},
        {"200 OK", 0},
        {"HTTP/1.1", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StatusCode(std::string(c.line) + "\r\nA: 1\r\n\r\n"), c.code) << c.line;
    }
}

struct Decoded {
    HttpBodyDecoder::Result result;
    std::string body;
};

// Feeds the body in pieces of the given size.
Decoded Decode(const std::string& head, const std::string& body, size_t piece) {
    HttpBodyDecoder decoder;
    EXPECT_TRUE(decoder.Start(head));
    Decoded out{HttpBodyDecoder::Result::kNeedMore, {}};
    for (size_t at = 0; at < body.size(); at += piece) {
        out.result = decoder.Feed(std::string_view(body).substr(at, piece), out.body);
    }
    return out;
}

TEST(HttpBody, FramingsInAnyPieces) {
    const std::string chunked = "Transfer-Encoding: chunked\r\n\r\n";
    const std::string length10 = "Content-Length: 10 \r\n\r\n";
    using R = HttpBodyDecoder::Result;
    struct Case {
        std::string head;
        std::string body;
        R result;
        std::string content;
    } cases[] = {
        {"\r\n" + chunked, "5;x=1\r\nhello\r\n0\r\n\r\n", R::kComplete, "hello"},
        {"\r\n" + chunked, "3\r\nabc\r\n A \r\n0123456789\r\n0\r\ntrailer", R::kComplete,
         "abc0123456789"},
        {"\r\n" + chunked, "0000\r\n\r\n", R::kComplete, ""},
        {"\r\n" + chunked, "3\r\nabc\r\n4\r\nde", R::kNeedMore, "abcde"},
        {"\r\n" + chunked, "3\r\nabcX\r\n0\r\n\r\n", R::kMalformed, "abc"},
        {"\r\n" + chunked, "zz\r\nabc\r\n", R::kMalformed, ""},
        {"\r\n" + chunked, "\r\nabc\r\n", R::kMalformed, ""},
        {"\r\n" + chunked, "-1\r\n", R::kMalformed, ""},
        {"\r\n" + chunked, "8000000000000000\r\n", R::kMalformed, ""},  // past 63 bits
        {"\r\n" + chunked, std::string(5000, '0'), R::kMalformed, ""},  // no line end
        {"\r\n" + length10, "0123456789extra", R::kComplete, "0123456789"},
        {"\r\n" + length10, "012345", R::kNeedMore, "012345"},
        {"\r\nContent-Length: 7abc\r\n\r\n", "0123456789", R::kComplete, "0123456"},
        // Not exactly "chunked": the length decides.
        {"\r\nTransfer-Encoding: Chunked\r\nContent-Length: 2\r\n\r\n", "2\r\nab", R::kComplete,
         "2\r"},
        {"\r\nServer: x\r\n\r\n", "all of it", R::kNeedMore, "all of it"},
    };
    for (const Case& c : cases) {
        for (size_t piece : {size_t{1}, size_t{2}, size_t{3}, size_t{7}, c.body.size()}) {
            Decoded d = Decode(c.head, c.body, piece);
            EXPECT_EQ(d.result, c.result) << c.body << " in pieces of " << piece;
            EXPECT_EQ(d.body, c.content) << c.body << " in pieces of " << piece;
        }
    }
}

TEST(HttpBody, LargestChunkSizeFits) {
    uint64_t size = 0;
    EXPECT_TRUE(ParseChunkSize("7fffffffffffffff", size));
    EXPECT_EQ(size, 0x7fffffffffffffffu);
    EXPECT_TRUE(ParseChunkSize(" 00000000000000001a ; ext=\"x\"", size));
    EXPECT_EQ(size, 26u);
    EXPECT_FALSE(ParseChunkSize("1 a", size));
}

TEST(HttpBody, ContentLengthMustBeANumber) {
    HttpBodyDecoder decoder;
    EXPECT_FALSE(decoder.Start("\r\nContent-Length: abc\r\n\r\n"));
    EXPECT_FALSE(decoder.Start("\r\nContent-Length: -5\r\n\r\n"));
    EXPECT_FALSE(decoder.Start("\r\nContent-Length: 9223372036854775808\r\n\r\n"));
    ASSERT_TRUE(decoder.Start("\r\nContent-Length: 9223372036854775807\r\n\r\n"));
    EXPECT_EQ(decoder.remaining(), 9223372036854775807u);
}

}  // namespace
}  // namespace tolva::net

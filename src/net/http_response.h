#pragma once
// Reading an HTTP/1.1 response from bytes as they arrive, independent of where they come from:
// the header block first, then the body in its framing.

#include <cstdint>
#include <string>
#include <string_view>

namespace tolva::net {

// A header block that has not ended within this many bytes is refused.
inline constexpr size_t kMaxHeadSize = 64 * 1024;

class HttpHeadReader {
public:
    enum class Result { kNeedMore, kComplete, kTooLarge };

    // Takes the next bytes; once Complete, the head and what followed it stay as they are.
    Result Feed(std::string_view data);

    // Up to and including the first CR LF CR LF.
    const std::string& head() const { return head_; }
    // The bytes that followed the head in the data fed so far: the start of the body.
    const std::string& rest() const { return rest_; }

private:
    std::string head_;
    std::string rest_;
    Result state_ = Result::kNeedMore;
};

// The first line of the head, trimmed and lower-cased.
std::string StatusLine(std::string_view head);

// The number of the status line: "HTTP/" and the version, a blank, three digits, then a blank or
// the end of the line. 0 when the line is not of that form.
int StatusCode(std::string_view head);

// The value of the header `name` (any case) in the head, to the end of its line, trimmed; empty
// when the head has no such header. Only whole header names at the start of a line count.
std::string HeaderValue(std::string_view head, std::string_view name);

class HttpBodyDecoder {
public:
    enum class Framing { kLength, kChunked, kUntilClose };
    enum class Result { kNeedMore, kComplete, kMalformed };

    // Chunked when Transfer-Encoding is exactly "chunked"; else Content-Length when present (its
    // leading decimal digits); else until the connection ends. False when Content-Length holds no
    // number or one past 63 bits.
    [[nodiscard]] bool Start(std::string_view head);

    // Appends the body bytes in data to out. After Complete or Malformed further data is ignored.
    Result Feed(std::string_view data, std::string& out);

    Framing framing() const { return framing_; }
    uint64_t remaining() const { return remaining_; }

private:
    enum class Chunk { kSizeLine, kData, kDataEnd, kDone };

    Result FeedChunked(std::string_view data, std::string& out);
    bool TakeSizeLine();

    Framing framing_ = Framing::kUntilClose;
    Result state_ = Result::kNeedMore;
    uint64_t remaining_ = 0;
    Chunk chunk_ = Chunk::kSizeLine;
    std::string line_;  // a size line or chunk end split across pieces, so far
};

// The chunk size at the start of a size line: hexadecimal, anything from ";" on ignored, trimmed.
// False for no digits, a character that is not one, or a size that does not fit in 63 bits.
[[nodiscard]] bool ParseChunkSize(std::string_view line, uint64_t& size);

}  // namespace tolva::net

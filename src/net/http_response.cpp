#include "net/http_response.h"

#include "util/text.h"

namespace tolva::net {
namespace {

constexpr std::string_view kHeadEnd = "\r\n\r\n";
constexpr std::string_view kLineEnd = "\r\n";
// A size line longer than this is not one.
constexpr size_t kMaxSizeLine = 4096;
constexpr uint64_t kMax63Bits = (uint64_t{1} << 63) - 1;

}  // namespace

HttpHeadReader::Result HttpHeadReader::Feed(std::string_view data) {
    if (state_ != Result::kNeedMore) {
        return state_;
    }
    // The terminator may straddle the previous piece.
    size_t searchFrom = head_.size() < 3 ? 0 : head_.size() - 3;
    head_.append(data);
    size_t end = head_.find(kHeadEnd, searchFrom);
    if (end == std::string::npos) {
        if (head_.size() > kMaxHeadSize) {
            state_ = Result::kTooLarge;
        }
        return state_;
    }
    end += kHeadEnd.size();
    if (end > kMaxHeadSize) {
        state_ = Result::kTooLarge;
        return state_;
    }
    rest_ = head_.substr(end);
    head_.resize(end);
    state_ = Result::kComplete;
    return state_;
}

std::string StatusLine(std::string_view head) {
    return util::LowerCase(util::Trim(head.substr(0, head.find(kLineEnd))));
}

int StatusCode(std::string_view head) {
    std::string line = StatusLine(head);
    size_t blank = line.find(' ');
    if (line.rfind("http/", 0) != 0 || blank == std::string::npos) {
        return 0;
    }
    std::string_view rest = std::string_view(line).substr(blank + 1);
    if (rest.size() < 3 || (rest.size() > 3 && rest[3] != ' ')) {
        return 0;
    }
    int code = 0;
    for (char c : rest.substr(0, 3)) {
        if (c < '0' || c > '9') {
            return 0;
        }
        code = code * 10 + (c - '0');
    }
    return code;
}

std::string HeaderValue(std::string_view head, std::string_view name) {
    std::string lowerHead = util::LowerCase(head);
    std::string key = "\r\n" + util::LowerCase(name) + ": ";
    size_t at = lowerHead.find(key);
    if (at == std::string::npos) {
        return {};
    }
    size_t start = at + key.size();
    size_t end = head.find(kLineEnd, start);
    return util::Trim(head.substr(start, end == std::string_view::npos ? end : end - start));
}

bool ParseChunkSize(std::string_view line, uint64_t& size) {
    size = 0;
    std::string text = util::Trim(line.substr(0, line.find(';')));
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        int digit = util::HexDigitValue(c);
        if (digit < 0 || size > (kMax63Bits >> 4)) {
            return false;
        }
        size = size * 16 + static_cast<uint64_t>(digit);
    }
    return true;
}

bool HttpBodyDecoder::Start(std::string_view head) {
    state_ = Result::kNeedMore;
    chunk_ = Chunk::kSizeLine;
    line_.clear();
    remaining_ = 0;
    if (HeaderValue(head, "Transfer-Encoding") == "chunked") {
        framing_ = Framing::kChunked;
        return true;
    }
    std::string length = HeaderValue(head, "Content-Length");
    if (length.empty()) {
        framing_ = Framing::kUntilClose;
        return true;
    }
    framing_ = Framing::kLength;
    size_t digits = 0;
    for (; digits < length.size() && length[digits] >= '0' && length[digits] <= '9'; ++digits) {
        uint64_t digit = static_cast<uint64_t>(length[digits] - '0');
        if (remaining_ > (kMax63Bits - digit) / 10) {
            return false;
        }
        remaining_ = remaining_ * 10 + digit;
    }
    if (digits == 0) {
        return false;
    }
    if (remaining_ == 0) {
        state_ = Result::kComplete;
    }
    return true;
}

HttpBodyDecoder::Result HttpBodyDecoder::Feed(std::string_view data, std::string& out) {
    if (state_ != Result::kNeedMore) {
        return state_;
    }
    switch (framing_) {
        case Framing::kUntilClose:
            out.append(data);
            return state_;
        case Framing::kLength: {
            size_t take = data.size() < remaining_ ? data.size() : static_cast<size_t>(remaining_);
            out.append(data.substr(0, take));
            remaining_ -= take;
            if (remaining_ == 0) {
                state_ = Result::kComplete;
            }
            return state_;
        }
        case Framing::kChunked:
            state_ = FeedChunked(data, out);
            return state_;
    }
    return state_;
}

bool HttpBodyDecoder::TakeSizeLine() {
    if (!ParseChunkSize(line_, remaining_)) {
        return false;
    }
    line_.clear();
    chunk_ = remaining_ == 0 ? Chunk::kDone : Chunk::kData;
    return true;
}

HttpBodyDecoder::Result HttpBodyDecoder::FeedChunked(std::string_view data, std::string& out) {
    while (!data.empty() && chunk_ != Chunk::kDone) {
        switch (chunk_) {
            case Chunk::kSizeLine: {
                // The line may be split anywhere, even between its CR and LF.
                size_t before = line_.size();
                line_.append(data.substr(0, kMaxSizeLine + 2 - line_.size()));
                size_t end = line_.find(kLineEnd, before == 0 ? 0 : before - 1);
                if (end == std::string::npos) {
                    if (line_.size() > kMaxSizeLine) {
                        return Result::kMalformed;
                    }
                    data = {};
                    break;
                }
                data.remove_prefix(end + kLineEnd.size() - before);
                line_.resize(end);
                if (!TakeSizeLine()) {
                    return Result::kMalformed;
                }
                break;
            }
            case Chunk::kData: {
                size_t take =
                    data.size() < remaining_ ? data.size() : static_cast<size_t>(remaining_);
                out.append(data.substr(0, take));
                data.remove_prefix(take);
                remaining_ -= take;
                if (remaining_ == 0) {
                    chunk_ = Chunk::kDataEnd;
                }
                break;
            }
            case Chunk::kDataEnd: {
                size_t take = kLineEnd.size() - line_.size();
                line_.append(data.substr(0, take));
                data.remove_prefix(data.size() < take ? data.size() : take);
                if (line_.size() < kLineEnd.size()) {
                    break;
                }
                if (line_ != kLineEnd) {
                    return Result::kMalformed;
                }
                line_.clear();
                chunk_ = Chunk::kSizeLine;
                break;
            }
            case Chunk::kDone:
                break;
        }
    }
    return chunk_ == Chunk::kDone ? Result::kComplete : Result::kNeedMore;
}

}  // namespace tolva::net

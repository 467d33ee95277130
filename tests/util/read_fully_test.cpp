#include "util/read_fully.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

namespace tolva::util {
namespace {

// Hands out at most three bytes a read, and fails once failAt bytes have been read.
class TrickleFile : public platform::InputFile {
public:
    TrickleFile(std::string content, size_t failAt)
        : content_(std::move(content)), failAt_(failAt) {}

    platform::Status Read(void* buffer, size_t size, size_t& got) override {
        got = 0;
        if (position_ >= failAt_) {
            return platform::Status::Failure(platform::error::kReadFault, "read");
        }
        got = std::min({size, size_t{3}, content_.size() - position_});
        content_.copy(static_cast<char*>(buffer), got, position_);
        position_ += got;
        return platform::Status::Ok();
    }
    uint64_t Size() const override { return content_.size(); }

private:
    std::string content_;
    size_t failAt_;
    size_t position_ = 0;
};

TEST(ReadFully, GathersShortReadsUntilTheSizeOrTheEnd) {
    const struct {
        const char* name;
        size_t failAt;
        size_t want;
        bool ok;
        std::string got;
    } cases[] = {
        {"all asked for", 100, 8, true, "abcdefgh"},
        {"the file ends first", 100, 20, true, "abcdefghij"},
        {"nothing asked for", 100, 0, true, ""},
        {"a read fails halfway", 6, 10, false, "abcdef"},
    };
    for (const auto& c : cases) {
        TrickleFile file("abcdefghij", c.failAt);
        std::string buffer(32, '\0');
        size_t got = 99;
        EXPECT_EQ(ReadFully(file, buffer.data(), c.want, got), c.ok) << c.name;
        EXPECT_EQ(buffer.substr(0, got), c.got) << c.name;
    }
}

}  // namespace
}  // namespace tolva::util

#include "util/base64.h"

#include <gtest/gtest.h>

#include <string>

namespace tolva::util {
namespace {

TEST(Base64, KnownVectorsRoundTrip) {
    struct Case {
        const char* plain;
        const char* encoded;
    } const cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Base64Encode(c.plain), c.encoded) << "input: \"" << c.plain << "\"";
        std::string decoded;
        EXPECT_TRUE(Base64Decode(c.encoded, decoded)) << "input: \"" << c.encoded << "\"";
        EXPECT_EQ(decoded, c.plain);
    }
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    std::string decoded;
    ASSERT_TRUE(Base64Decode(Base64Encode(all), decoded));
    EXPECT_EQ(decoded, all);
    EXPECT_EQ(Base64Encode("\xFB\xFF"), "+/8=");
}

TEST(Base64, MalformedInputIsRejected) {
    const char* const cases[] = {
        "Zg",        // not a multiple of four
        "Zg=",       //
        "Zm9v\r\n",  // line break
        "Zm 9v",     // blank
        "Zm9-",      // URL alphabet
        "Z===",      // too much padding
        "=Zm9",      // padding first
        "Zg==Zm9v",  // padding in the middle
        "Zm=v",      // padding before data
        "Zh==",      // bits left over after the last byte
        "Zm9=",      //
    };
    for (const char* text : cases) {
        std::string out = "stale";
        EXPECT_FALSE(Base64Decode(text, out)) << "input: \"" << text << "\"";
        EXPECT_EQ(out, "") << "input: \"" << text << "\"";
    }
}

}  // namespace
}  // namespace tolva::util

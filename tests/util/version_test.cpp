#include "util/version.h"

#include <gtest/gtest.h>

#include <string>

namespace tolva::util {
namespace {

TEST(Version, NumberOfAString) {
    struct Case {
        std::string text;
        uint32_t number;
    } const cases[] = {
        {"8.5.3-7", 8050307},
        {"8.5.3", 8050300},
        {"8.2.10", 8021000},
        {"7.0", 7000000},
        {"7", 7000000},
        {"", 0},
        {"abc", 0},
        {" 9 . 1 . 0 - 2 ", 9010002},
        {"8.5.3beta", 8050300},
        {"8.5.3beta-4", 8050304},
        {"8.5.3.4", 8050300},
        {"8.100.0", 9000000},  // no carry protection
        {"8.5.0x10", 8051600},
        {"4294.0.0", 4294000000u},
        {"4295.0.0", 32704u},              // wraps in 32 bits
        {std::string(255, ' ') + "9", 0},  // only the first 255 characters count
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VersionNumber(c.text), c.number) << "input: \"" << c.text << "\"";
    }
}

TEST(Version, LowerThan) {
    struct Case {
        const char* a;
        const char* b;
        bool lower;
    } const cases[] = {
        {"8.5.3-7", "8.5.3-11", true}, {"8.5.3", "8.5.3-7", true},  {"8.5.3-7", "8.5.3-7", false},
        {"9.0.0", "9.0.0-3", true},    {"9.1.0", "9.0.0-3", false}, {"8.2.6", "8.2.7", true},
        {"8.10.0", "8.9.0", false},    {"", "0.0.0", false},        {"4294.0.0", "4295.0.0", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsVersionLower(c.a, c.b), c.lower)
            << "input: \"" << c.a << "\" < \"" << c.b << "\"";
    }
}

}  // namespace
}  // namespace tolva::util

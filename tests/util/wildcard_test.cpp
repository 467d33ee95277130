#include "util/wildcard.h"

#include <gtest/gtest.h>

#include <string>

namespace tolva::util {
namespace {

TEST(Wildcard, Cases) {
    struct Case {
        const char* pattern;
        const char* text;
        bool match;
    } const cases[] = {
        {"", "", true},
        {"*", "", true},
        {"*", "anything", true},
        {"9.1.?", "9.1.0", true},
        {"9.1.?", "9.1.10", false},
        {"9.*", "9.1.0-3", true},
        {"*-3", "9.1.0-3", true},
        {"a*b*c", "a-b-x-b-c", true},  // the second "*" must give back what it took
        {"a*b*c", "a-b-x-b-d", false},
        {"sales-*", "Sales-1", false},  // letter case counts
        {"abc", "ab", false},
        {"ab", "abc", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.text), c.match)
            << "pattern \"" << c.pattern << "\", text \"" << c.text << "\"";
    }
}

}  // namespace
}  // namespace tolva::util

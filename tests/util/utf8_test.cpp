#include "util/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace tolva::util {
namespace {

TEST(Utf8, WideToUTF8EncodesEachCodeUnit) {
    struct Case {
        std::u16string wide;
        std::string utf8;
    } const cases[] = {
        {u"", ""},
        {u"A~", "A~"},
        {u"\u00E9", "\xC3\xA9"},
        {u"\u07FF", "\xDF\xBF"},
        {u"\u0800", "\xE0\xA0\x80"},
        {u"\u20AC", "\xE2\x82\xAC"},
        {u"\uFFFF", "\xEF\xBF\xBF"},
        {std::u16string(1, u'\0'), std::string(1, '\0')},
        // A surrogate pair stays two three-byte sequences.
        {u"\U0001F600", "\xED\xA0\xBD\xED\xB8\x80"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WideToUTF8(c.wide), c.utf8) << "input: \"" << c.utf8 << "\"";
        EXPECT_EQ(UTF8ToWide(c.utf8), c.wide) << "input: \"" << c.utf8 << "\"";
    }
}

TEST(Utf8, UTF8ToWideIsLenient) {
    struct Case {
        std::string utf8;
        std::u16string wide;
    } const cases[] = {
        // Continuation bytes are not checked.
        {"\xC3"
         "A",
         u"\u00C1"},
        {"\xE9t\xE9", u"\u9D29"},
        // A four-byte lead reads as a three-byte one (bit 0x20 set); its last byte is then cut
        // short.
        {"\xF0\x9F\x98\x80", u"\u07D8"},
        // Lone continuation bytes read as two-byte leads.
        {"\x80\x80", std::u16string(1, u'\0')},
        {"\x80\xBFz", std::u16string(u"\u003F") + u"z"},
        // A sequence cut short at the end is dropped, never read past the text.
        {"a\xC3", u"a"},
        {"a\xE2\x82", u"a"},
        {"\xE2", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UTF8ToWide(c.utf8), c.wide) << "input: \"" << c.utf8 << "\"";
    }
}

}  // namespace
}  // namespace tolva::util

#include "util/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace tolva::util {
namespace {

TEST(Text, TrimRemovesBlanksAndControlCharactersOnly) {
    const std::string mixed = std::string("\t\r\n \x01 a b\x1F \0", 12);
    EXPECT_EQ(Trim(mixed), "a b");
    EXPECT_EQ(TrimLeft(mixed), std::string("a b\x1F \0", 6));
    EXPECT_EQ(TrimRight(mixed), "\t\r\n \x01 a b");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_EQ(Trim(""), "");
    // 0xA0 (no-break space in the ANSI code page) is text, not a blank.
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
}

TEST(Text, CaseHelpersTouchAsciiLettersOnly) {
    EXPECT_EQ(LowerCase("AbC-\xC9z"), "abc-\xC9z");
    EXPECT_EQ(UpperCase("aBc-\xE9Z"), "ABC-\xE9Z");
    EXPECT_TRUE(SameText("TRUE", "true"));
    EXPECT_TRUE(SameText("", ""));
    EXPECT_FALSE(SameText("\xC9", "\xE9"));
    EXPECT_FALSE(SameText("true", "true "));
}

TEST(Text, LeadingIntegerReadsLikeVal) {
    struct Case {
        const char* text;
        int32_t value;
    } const cases[] = {
        {"", 0},
        {"abc", 0},
        {"65", 65},
        {"65abc", 65},
        {"  65", 65},
        {"\t65", 0},  // only spaces are skipped
        {"+7", 7},
        {"-7", -7},
        {"-", 0},
        {"x41", 0x41},
        {"X41", 0x41},
        {"$ff", 0xFF},
        {"0x1F", 0x1F},
        {"0X1f", 0x1F},
        {"-$10", -16},
        {"0x", 0},
        {"$g", 0},
        {"12 34", 12},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"21474836479", 2147483647},  // stops before the digit that would overflow
        {"$FFFFFFFF", -1},
        {"$1FFFFFFFF", 0x1FFFFFFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeadingInteger(c.text), c.value) << "input: \"" << c.text << "\"";
    }
}

TEST(Text, StrToIntDefWantsTheWholeText) {
    struct Case {
        const char* text;
        int32_t value;
    } const cases[] = {
        {"12", 12}, {" -12", -12}, {"$A", 10}, {"", 99},           {"12 ", 99},
        {"1x", 99}, {"-", 99},     {"0x", 99}, {"2147483648", 99}, {"-2147483648", INT32_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StrToIntDef(c.text, 99), c.value) << "input: \"" << c.text << "\"";
    }
}

TEST(Text, ListSplitting) {
    using Pieces = std::vector<std::string>;
    struct Case {
        std::string text;
        Pieces split;    // SplitText at ";"
        Pieces items;    // ListItems
        Pieces trimmed;  // TrimmedListItems
    } const cases[] = {
        {"", {""}, {}, {}},
        {"a", {"a"}, {"a"}, {"a"}},
        {"a;;b;", {"a", "", "b", ""}, {"a", "b"}, {"a", "b"}},
        {";", {"", ""}, {}, {}},
        {" a ; \tb;  ;c", {" a ", " \tb", "  ", "c"}, {" a ", " \tb", "  ", "c"}, {"a", "b", "c"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitText(c.text, ';'), c.split) << "input: \"" << c.text << "\"";
        EXPECT_EQ(ListItems(c.text), c.items) << "input: \"" << c.text << "\"";
        EXPECT_EQ(TrimmedListItems(c.text), c.trimmed) << "input: \"" << c.text << "\"";
    }
    EXPECT_EQ(SplitText("a|b;c|", '|'), (Pieces{"a", "b;c", ""}));
}

TEST(Text, ReplaceAllDoesNotSearchWhatItInserted) {
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        const char* replaced;
    } const cases[] = {
        {"a.b.c", ".", "..", "a..b..c"}, {"aaa", "aa", "b", "ba"}, {"x=1", "", "y", "x=1"},
        {"abc", "abc", "", ""},          {"Aa", "a", ";a", "A;a"}, {"", "a", "b", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReplaceAll(c.text, c.from, c.to), c.replaced)
            << "input: \"" << c.text << "\" from \"" << c.from << "\"";
    }
}

// Message texts of every language fill their marks this way: in order, what was put in never read
// as a mark, marks without a value kept as they are, values without a mark left out.
TEST(Text, FillMarksInOrder) {
    EXPECT_EQ(FillMarks(u"%s of %s", {u"1", u"2"}), u"1 of 2");
    EXPECT_EQ(FillMarks(u"%s and %s", {u"%s"}), u"%s and %s");
    EXPECT_EQ(FillMarks(u"no marks", {u"x"}), u"no marks");
    EXPECT_EQ(FillMarks(u"100%s%", {u"!"}), u"100!%");
    EXPECT_EQ(FillMarks(u"", {}), u"");
}

}  // namespace
}  // namespace tolva::util

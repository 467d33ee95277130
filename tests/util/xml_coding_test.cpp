#include "util/xml_coding.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_system.h"

namespace tolva::util {
namespace {

const platform::FakeSystem kSystem;

struct CodingCase {
    std::string input;
    TXMLCoding mode;
    std::string output;
};

TEST(XmlCoding, Encode) {
    const CodingCase cases[] = {
        {"a<b & 'c'", xcEntities, "a&lt;b &amp; &apos;c&apos;"},
        {"\"x\" > &amp;", xcEntities, "&quot;x&quot; &gt; &amp;amp;"},
        {"caf\xE9 & co", xcFull, "caf\xC3\xA9 &amp; co"},
        {"\x80 <", xcUTF8, "\xE2\x82\xAC <"},
        {"caf\xE9 <", xcEntities, "caf\xE9 &lt;"},
        {"caf\xE9 <", xcNone, "caf\xE9 <"},
        // Pure 7-bit text passes the UTF-8 step unchanged.
        {"plain 7-bit ~", xcUTF8, "plain 7-bit ~"},
        {"", xcFull, ""},
    };
    for (const CodingCase& c : cases) {
        EXPECT_EQ(EncodeXMLValue(c.input, c.mode, kSystem), c.output)
            << "input: \"" << c.input << "\" mode " << int(c.mode);
    }
}

TEST(XmlCoding, Decode) {
    const CodingCase cases[] = {
        // One pass: what a reference produces is not read again.
        {"&amp;lt;", xcEntities, "&lt;"},
        {"&AMP;&Quot;&aPoS;&LT;&gt;", xcEntities, "&\"'<>"},
        {"a&nbsp;b", xcEntities, "a b"},
        {"&#65;&#x41;&#X41;&#$41;&#0x41;&#65abc;&# 65;", xcEntities, "AAAAAAA"},
        {"&#321;&#-191;", xcEntities, "AA"},  // the low eight bits
        {"&#;", xcEntities, std::string(1, '\0')},
        {"&#x41 and more text;.", xcEntities, "A."},
        {"&#65", xcEntities, "&#65"},
        {"a & b &foo; &", xcEntities, "a & b &foo; &"},
        {"&am", xcEntities, "&am"},
        {"caf\xC3\xA9 &amp; co", xcFull, "caf\xE9 & co"},
        // Full mode converts from UTF-8 first and resolves references after: the byte a reference
        // gives is ANSI text already and is not read as UTF-8.
        {"&#233;", xcFull, "\xE9"},
        {"\xC3\xA9&#233;&#xE9;", xcFull, "\xE9\xE9\xE9"},
        {"&#226;&#130;&#172;", xcFull, "\xE2\x82\xAC"},
        {"\xE2\x82\xAC &amp;", xcUTF8, "\x80 &amp;"},
        {"\xC3\xA9&amp;", xcNone, "\xC3\xA9&amp;"},
        {"plain &lt;", xcUTF8, "plain &lt;"},
        // A UTF-8 sequence cut short at the end is dropped.
        {"ab\xC3", xcFull, "ab"},
        {"\xE2\x82", xcUTF8, ""},
    };
    for (const CodingCase& c : cases) {
        EXPECT_EQ(DecodeXMLValue(c.input, c.mode, kSystem), c.output)
            << "input: \"" << c.input << "\" mode " << int(c.mode);
    }
}

TEST(XmlCoding, UnclosedNumericReferencesDecodeInLinearTime) {
    // 8 Mi of "&#" and no ";": one pass reads 16 MiB in a fraction of a second, while looking for
    // a ";" anew after every "&#" reads 8 MiB on average eight million times over, a quarter of an
    // hour for each decode below, far beyond the test's time limit.
    const std::string unclosed = [] {
        std::string text;
        for (int i = 0; i < (1 << 23); ++i) {
            text += "&#";
        }
        return text;
    }();
    EXPECT_TRUE(DecodeXMLValue(unclosed, xcEntities, kSystem) == unclosed);
    // A ";" at the very start closes none of them either.
    EXPECT_TRUE(DecodeXMLValue(";" + unclosed, xcEntities, kSystem) == ";" + unclosed);
    // One at the end closes the first, which takes everything up to it.
    EXPECT_EQ(DecodeXMLValue(unclosed + "65;", xcEntities, kSystem), std::string(1, '\0'));
}

TEST(XmlCoding, DecodeRestoresWhatEncodeStored) {
    const std::string values[] = {"a<b&c'd\"e>f", "&amp; stays &amp;", "caf\xE9 \x80 5", "",
                                  "&#65;"};
    for (const TXMLCoding mode : {xcFull, xcEntities, xcUTF8, xcNone}) {
        for (const std::string& value : values) {
            EXPECT_EQ(DecodeXMLValue(EncodeXMLValue(value, mode, kSystem), mode, kSystem), value)
                << "input: \"" << value << "\" mode " << int(mode);
        }
    }
}

TEST(XmlCoding, Booleans) {
    const struct {
        const char* text;
        bool value;
    } cases[] = {{"true", true}, {"TRUE", true}, {"tRuE", true}, {"1", true},      {"0", false},
                 {"", false},    {"yes", false}, {" 1", false},  {"true ", false}, {"2", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(XMLStrToBool(c.text), c.value) << "input: \"" << c.text << "\"";
    }
    EXPECT_EQ(XMLBoolToStr(true), "1");
    EXPECT_EQ(XMLBoolToStr(false), "0");
}

}  // namespace
}  // namespace tolva::util

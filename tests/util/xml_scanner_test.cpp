#include "util/xml_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_system.h"
#include "platform/fake/memory_file_system.h"
#include "util/xml_tag.h"

namespace tolva::util {
namespace {

const platform::FakeSystem kSystem;

struct Found {
    bool found;
    std::string text;
};

Found Find(const std::string& data, const std::string& name, bool outer, TXMLCoding mode) {
    TXMLType xml;
    xml.Data = data;
    Found result;
    result.found = XMLFindElement(xml, name, outer, mode, kSystem, result.text);
    return result;
}

TEST(XmlScanner, FindElement) {
    const struct {
        std::string data;
        std::string name;
        bool outer;
        TXMLCoding mode;
        bool found;
        std::string text;
    } cases[] = {
        {"<PX url=\"u\">9.2</PX>", "PX", false, xcFull, true, "9.2"},
        {"<PX url=\"u\">9.2</PX>", "PX", true, xcFull, true, "<PX url=\"u\">9.2</PX>"},
        {"<PX>1</PX><P>2</P>", "P", false, xcFull, true, "2"},
        {"<px>1</px>", "PX", false, xcFull, false, ""},
        {"<P\tx='1'>a</P>", "P", false, xcFull, true, "a"},
        {"<P\r\n>a</P>", "P", false, xcFull, true, "a"},
        {"<E a=\"1\"/>", "E", true, xcFull, true, "<E a=\"1\"/>"},
        {"<E/>", "E", false, xcFull, true, ""},
        // The first end tag closes, nested elements of the same name notwithstanding.
        {"<A><A>x</A></A>", "A", false, xcNone, true, "<A>x"},
        {"<A>x</A >", "A", false, xcFull, false, ""},
        {"<A>unclosed", "A", false, xcFull, false, ""},
        {"<A", "A", false, xcFull, false, ""},  // no room for a character after the name
        {"<A/", "A", true, xcFull, true, "<A/"},
        {"<N>&amp;\xC3\xA9</N>", "N", false, xcFull, true, "&\xE9"},
        {"<N>&amp;\xC3\xA9</N>", "N", false, xcNone, true, "&amp;\xC3\xA9"},
        {"<N>&amp;</N>", "N", true, xcEntities, true, "<N>&</N>"},
    };
    for (const auto& c : cases) {
        const Found got = Find(c.data, c.name, c.outer, c.mode);
        EXPECT_EQ(got.found, c.found) << "input: \"" << c.data << "\" name " << c.name;
        EXPECT_EQ(got.text, c.text) << "input: \"" << c.data << "\" name " << c.name;
    }
}

TEST(XmlScanner, FindNextWalksForward) {
    TXMLType xml;
    xml.Data = "<L><I>1</I><I/><X/><I>3</I><I>lost";
    std::string text;
    std::vector<std::string> seen;
    for (bool found = XMLFindElement(xml, "I", true, xcFull, kSystem, text); found;
         found = XMLFindNextElement(xml, true, xcFull, kSystem, text)) {
        seen.push_back(text);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"<I>1</I>", "<I/>", "<I>3</I>"}));
    EXPECT_EQ(text, "");
    // Without an end tag the position stays after the opening tag.
    EXPECT_EQ(xml.Position, xml.Data.size() - 4);
    EXPECT_FALSE(XMLFindNextElement(xml, true, xcFull, kSystem, text));
    // A new search starts from the beginning.
    EXPECT_FALSE(XMLFindElement(xml, "L", false, xcNone, kSystem, text));
    EXPECT_TRUE(XMLFindElement(xml, "I", false, xcNone, kSystem, text));
    EXPECT_EQ(text, "1");
}

TEST(XmlScanner, LoadFile) {
    platform::MemoryFileSystem files(platform::MemoryFileSystem::Folders::kMustBeCreated);
    files.files["C:\\cat.xml"] = "<V>2</V>";
    TXMLType xml;
    xml.Name = "stale";
    xml.Position = 9;
    EXPECT_FALSE(XMLLoadFile(xml, files, ""));
    EXPECT_EQ(xml.Name, "");
    EXPECT_EQ(xml.Position, 0u);
    EXPECT_FALSE(XMLLoadFile(xml, files, "C:\\missing.xml"));
    ASSERT_TRUE(XMLLoadFile(xml, files, "C:\\cat.xml"));
    std::string text;
    EXPECT_TRUE(XMLFindElement(xml, "V", false, xcFull, kSystem, text));
    EXPECT_EQ(text, "2");
}

TEST(XmlTag, Attribute) {
    const struct {
        std::string tag;
        std::string name;
        std::string value;
    } cases[] = {
        {"<PX url=\"u\">9.2</PX>", "url", "u"},
        {"<a url=\"u\" b='v'/>", "b", "v"},
        {"<a burl=\"x\" url=\"u\">", "url", "u"},
        {"<a x=\"1\">", "X", ""},
        {"<a> x=\"1\"", "x", ""},
        {"<a\nx=\"1\">", "x", "1"},
        {"<a x=1 y=\"2\">", "x", "1"},
        {"<a x=1>", "x", "1"},
        {"<a x=\"it's\">", "x", "it's"},
        {"<a x='say \"hi\"'>", "x", "say \"hi\""},
        {"<a x=\"1>2\" y=\"3\">", "y", "3"},
        {"<a x = \"1\">", "x", ""},
        {"<a x=\"unterminated", "x", "\"unterminated"},
        {"<a x=>", "x", ""},
        {"<a x=\"\" y=\"1\">", "x", ""},
        // A name inside another attribute's value does not count.
        {"<a t=\"q x=1\" x=\"2\">", "x", "2"},
        {"<a x=\"&lt;&#65;\">", "x", "<A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(XMLTagAttribute(c.tag, c.name, xcFull, kSystem), c.value)
            << "input: \"" << c.tag << "\" name " << c.name;
    }
    EXPECT_EQ(XMLTagAttribute("<a x=\"&lt;\">", "x", xcNone, kSystem), "&lt;");
    EXPECT_EQ(XMLTagAttribute("<a x=\"\xC3\xA9\">", "x", xcUTF8, kSystem), "\xE9");
}

TEST(XmlTag, Attributes) {
    const struct {
        std::string tag;
        std::vector<std::string> pairs;  // name=value
    } cases[] = {
        {"<a x=\"1\" y='2'>", {"x=1", "y=2"}},
        {"<a x=\"1\" x=\"2\"/>", {"x=1", "x=2"}},
        {"<a b=\"x=y\" c=\"1\">", {"b=x=y", "c=1"}},
        {"<a x=\"1>2\" y=\"3\">", {"x=1>2", "y=3"}},
        {"<a =1 x=\"&amp;\">", {"x=&"}},
        {"<a\r\n\tx=\"1\"\r\n\ty=\"\">", {"x=1", "y="}},
        {"<a=1>", {}},
        {"<a>", {}},
        {"", {}},
        {"<a x=\"1\"> y=\"2\"", {"x=1"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> got;
        for (const TXMLAttribute& attribute : XMLTagAttributes(c.tag, xcFull, kSystem)) {
            got.push_back(attribute.Name + "=" + attribute.Value);
        }
        EXPECT_EQ(got, c.pairs) << "input: \"" << c.tag << "\"";
    }
}

}  // namespace
}  // namespace tolva::util

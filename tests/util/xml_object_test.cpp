#include "util/xml_object.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_system.h"
#include "platform/fake/faulty_file_system.h"
#include "platform/fake/memory_file_system.h"

namespace tolva::util {
namespace {

const platform::FakeSystem kSystem;

std::string Reparsed(const std::string& xml) {
    TXMLObject document(kSystem);
    document.ParseXML(xml);
    return document.ToXML(false, false);
}

TEST(XmlParse, TreesOfLenientInput) {
    const struct {
        std::string input;
        std::string tree;  // the parsed container written back
    } cases[] = {
        {"<a b='1'><x>t</x><y/></a>", "<a b=\"1\"><x>t</x><y/></a>"},
        {"<a x=\"\"/>", "<a/>"},
        {"<?xml version=\"1.0\"?>\r\n<r/>", "<r/>"},
        {"<!DOCTYPE r><!-- note --><r/>", "<r/>"},
        // A comment ends at its first ">"; the rest is text, dropped beside the element.
        {"<!-- a > b --><r/>", "<r/>"},
        {"<a><![CDATA[x]]></a>", "<a/>"},
        // Any end tag closes the open element; an end tag at the top ends the parse.
        {"<a></b>text", "<a/>"},
        {"<a/></x><b/>", "<a/>"},
        {"<a><b>t</a><c/></b>", "<a><b>t</b><c/></a>"},
        // Mixed content keeps only the elements.
        {"<p>one<q/>two</p>", "<p><q/></p>"},
        // Text after the last tag, or in a tag without ">", is not collected.
        {"<a>text", "<a/>"},
        {"<a>x<b", "<a>x</a>"},
        {"abc<", "abc"},
        {"< a/><b/>", "<b/>"},
        {"<a><a>x</a></a>", "<a><a>x</a></a>"},
        {"<ns:el-1.x_y z=\"1\"/>", "<ns:el-1.x_y z=\"1\"/>"},
        // Values are kept as they stand, without decoding.
        {"<a v=\"&lt;\">&amp;\xC3\xA9&#65;</a>", "<a v=\"&lt;\">&amp;\xC3\xA9&#65;</a>"},
        {"<a x=\"1\" x=\"2\" y='it\"s'/>", "<a x=\"1\" x=\"2\" y=\"it\"s\"/>"},
        {"\r\n <a>\r\n <b>1</b>\r\n</a>\r\n", "<a><b>1</b></a>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Reparsed(c.input), c.tree) << "input: \"" << c.input << "\"";
    }
}

TEST(XmlParse, FillsFieldsAndAppendsToExistingChildren) {
    TXMLObject document(kSystem);
    document.AddChild("old", "", xcNone);
    document.ParseXML("<a b='1'><x>t</x><y/></a>");
    ASSERT_EQ(document.Children.size(), 2u);
    const TXMLObject& a = *document.Children[1];
    EXPECT_EQ(a.Name, "a");
    EXPECT_EQ(a.Text, "");
    ASSERT_EQ(a.Attributes.size(), 1u);
    EXPECT_EQ(a.Attributes[0].Name, "b");
    EXPECT_EQ(a.Attributes[0].Value, "1");
    ASSERT_EQ(a.Children.size(), 2u);
    EXPECT_EQ(a.Children[0]->Name, "x");
    EXPECT_EQ(a.Children[0]->Text, "t");
    EXPECT_EQ(a.Children[1]->Name, "y");
    EXPECT_TRUE(a.Children[1]->Children.empty());
    EXPECT_EQ(document.Text, "");
}

TEST(XmlParse, GreaterThanInsideAQuotedValueEndsTheTag) {
    TXMLObject document(kSystem);
    document.ParseXML("<a v=\"x>y\">z</a>");
    ASSERT_EQ(document.Children.size(), 1u);
    EXPECT_EQ(document.Children[0]->GetAttribute("v", xcNone), "\"x>");
    EXPECT_EQ(document.Children[0]->Text, "y\">z");
}

TEST(XmlParse, LongNamesAreCut) {
    const std::string longName(300, 'n');
    TXMLObject document(kSystem);
    document.ParseXML("<" + longName + " " + longName + "=\"v\"/>");
    ASSERT_EQ(document.Children.size(), 1u);
    EXPECT_EQ(document.Children[0]->Name, longName.substr(0, 255));
    EXPECT_EQ(document.FindChild(longName), document.Children[0].get());
    EXPECT_EQ(document.Children[0]->Attributes[0].Name, longName.substr(0, 255));
}

TEST(XmlParse, DeepNestingNeitherOverflowsNorLeaks) {
    constexpr int kDepth = 200000;
    std::string xml;
    for (int i = 0; i < kDepth; ++i) {
        xml += "<a>";
    }
    xml += "x";
    auto document = std::make_unique<TXMLObject>(kSystem);
    document->ParseXML(xml);
    int depth = 0;
    for (const TXMLObject* o = document.get(); !o->Children.empty(); o = o->Children[0].get()) {
        ++depth;
    }
    EXPECT_EQ(depth, kDepth);
    const std::string written = document->ToXML(true, false);
    // "<a>" and "</a>\r\n" around the innermost "<a/>\r\n" (its text came after the last tag).
    EXPECT_EQ(written.size(), size_t{kDepth - 1} * 9 + 6);
    EXPECT_EQ(written.substr(written.size() - 6), "</a>\r\n");
    document->Clear();
    EXPECT_TRUE(document->Children.empty());
    document->ParseXML(xml);
    document.reset();
}

TEST(XmlWrite, Layout) {
    TXMLObject setup(kSystem);
    setup.Name = "SETUP";
    setup.AddChild("NAME", "x", xcFull);
    setup.AddChild("DEMO", "", xcFull);
    EXPECT_EQ(setup.ToXML(true, false), "<SETUP><NAME>x</NAME>\r\n<DEMO/>\r\n</SETUP>\r\n");
    EXPECT_EQ(setup.ToXML(false, false), "<SETUP><NAME>x</NAME><DEMO/></SETUP>");

    TXMLObject container(kSystem);
    container.AddChild("r", "", xcNone);
    EXPECT_EQ(container.ToXML(false, true), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<r/>");
    container.Text = "lead ";
    container.Attributes.push_back({"ignored", "1"});
    EXPECT_EQ(container.ToXML(true, false), "lead <r/>\r\n");

    // Attributes in order, the text before the children, values as stored.
    TXMLObject element(kSystem);
    element.Name = "e";
    element.SetAttribute("k", "a\"b", xcEntities, false);
    element.SetAttribute("k", "2", xcNone, false);
    element.SetText("t&", xcEntities);
    element.AddChild("c", "", xcNone);
    EXPECT_EQ(element.ToXML(false, false), "<e k=\"a&quot;b\" k=\"2\">t&amp;<c/></e>");
}

TEST(XmlWrite, WrittenTreeParsesBack) {
    TXMLObject document(kSystem);
    TXMLObject& root = document.AddChild("SETUP", "", xcFull);
    root.SetAttribute("version", "9.1.0", xcFull, false);
    root.AddChild("NAME", "Ren\xE9 <R> & 'Co' \"x\"", xcFull);
    root.AddChild("EMPTY", "", xcFull);
    TXMLObject reread(kSystem);
    reread.ParseXML(document.ToXML(true, true));
    EXPECT_EQ(reread.ToXML(true, true), document.ToXML(true, true));
    const TXMLObject* setup = reread.FindChild("SETUP");
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(setup->GetChildText("NAME", xcFull), "Ren\xE9 <R> & 'Co' \"x\"");
    EXPECT_EQ(setup->GetAttribute("version", xcFull), "9.1.0");
}

TEST(XmlObject, TextIsStoredInFileForm) {
    TXMLObject root(kSystem);
    TXMLObject& name = root.AddChild("NAME", "Ren\xE9 & Co", xcFull);
    EXPECT_EQ(name.Text, "Ren\xC3\xA9 &amp; Co");
    EXPECT_EQ(name.GetText(xcFull), "Ren\xE9 & Co");
    EXPECT_EQ(name.GetText(xcNone), "Ren\xC3\xA9 &amp; Co");
    EXPECT_EQ(name.GetText(xcEntities), "Ren\xC3\xA9 & Co");
    name.SetText("", xcFull);
    EXPECT_EQ(name.Text, "");
    name.SetText("<raw>", xcNone);
    EXPECT_EQ(name.Text, "<raw>");
}

TEST(XmlObject, ChildrenByName) {
    TXMLObject root(kSystem);
    root.AddChild("NAME", "upper", xcNone);
    root.AddChild("name", "lower", xcNone);
    root.AddChild("name", "second", xcNone);
    root.AddChildIfNotEmpty("SKIPPED", "", xcNone);
    root.AddChildIfNotEmpty("KEPT", "k", xcNone);
    EXPECT_EQ(root.GetChildText("name", xcNone), "lower");
    EXPECT_EQ(root.GetChildText("NAME", xcNone), "upper");
    EXPECT_EQ(root.FindChild("Name"), nullptr);
    EXPECT_EQ(root.FindChild("SKIPPED"), nullptr);
    EXPECT_EQ(root.GetChildText("KEPT", xcNone), "k");
    EXPECT_EQ(root.GetChildText("missing", xcNone), "");
    EXPECT_EQ(TXMLObject::GetChildText(nullptr, "name", xcNone), "");
    EXPECT_EQ(TXMLObject::GetChildText(&root, "name", xcNone), "lower");

    TXMLObject& set = root.SetChildText("NEW", "v1", xcEntities);
    EXPECT_EQ(&root.SetChildText("NEW", "a&b", xcEntities), &set);
    EXPECT_EQ(set.Text, "a&amp;b");
    root.SetChildText("NEW", "", xcEntities);
    EXPECT_EQ(set.Text, "");
    EXPECT_EQ(root.Children.size(), 5u);
    EXPECT_EQ(root.AddChild(std::string(300, 'n'), "", xcNone).Name.size(), 255u);
}

TEST(XmlObject, AddChildrenFromAList) {
    TXMLObject root(kSystem);
    root.AddChildren("M", " a ;;;;b;; \t ;;c&d\r\n;;", xcEntities);
    ASSERT_EQ(root.Children.size(), 3u);
    EXPECT_EQ(root.Children[0]->Text, "a");
    EXPECT_EQ(root.Children[1]->Text, "b");
    EXPECT_EQ(root.Children[2]->Text, "c&amp;d");
    EXPECT_EQ(root.Children[2]->Name, "M");
    root.AddChildren("M", "a;;;b", xcNone);
    EXPECT_EQ(root.Children[4]->Text, ";b");
    root.AddChildren("M", "", xcNone);
    EXPECT_EQ(root.Children.size(), 5u);
}

TEST(XmlObject, Attributes) {
    TXMLObject e(kSystem);
    e.SetAttribute("a", "1", xcNone, true);
    e.SetAttribute("a", "", xcNone, true);  // an empty value changes nothing
    EXPECT_EQ(e.GetAttribute("a", xcNone), "1");
    e.SetAttribute("a", "2", xcNone, false);
    e.SetAttribute("a", "3", xcNone, true);
    ASSERT_EQ(e.Attributes.size(), 2u);
    EXPECT_EQ(e.Attributes[0].Value, "3");
    EXPECT_EQ(e.Attributes[1].Value, "2");
    EXPECT_EQ(e.GetAttribute("A", xcNone), "");
    e.SetAttribute("u", "\xE9<", xcFull, true);
    EXPECT_EQ(e.Attributes[2].Value, "\xC3\xA9&lt;");
    EXPECT_EQ(e.GetAttribute("u", xcFull), "\xE9<");
    EXPECT_EQ(e.GetAttribute("missing", xcFull), "");
}

TEST(XmlObject, ClearEmptiesEverything) {
    TXMLObject root(kSystem);
    root.ParseXML("<a x=\"1\"><b><c/></b>t</a>");
    TXMLObject& a = *root.Children[0];
    a.Clear();
    EXPECT_TRUE(a.Children.empty());
    EXPECT_TRUE(a.Attributes.empty());
    EXPECT_EQ(a.Name, "");
    EXPECT_EQ(a.Text, "");
}

TEST(XmlObject, LoadAndSave) {
    platform::MemoryFileSystem files(platform::MemoryFileSystem::Folders::kMustBeCreated);
    TXMLObject document(kSystem);
    EXPECT_FALSE(document.LoadFromFile(files, "C:\\missing.xml"));
    files.files["C:\\empty.xml"] = "";
    EXPECT_FALSE(document.LoadFromFile(files, "C:\\empty.xml"));
    files.files["C:\\info.xml"] = "<INFO><V>1</V></INFO>";
    EXPECT_TRUE(document.LoadFromFile(files, "C:\\info.xml"));
    EXPECT_EQ(TXMLObject::GetChildText(document.FindChild("INFO"), "V", xcFull), "1");

    // Missing folders are created.
    EXPECT_TRUE(document.SaveToFile(files, "C:\\out\\sub\\info.xml", true, true));
    EXPECT_EQ(files.files["C:\\out\\sub\\info.xml"],
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<INFO><V>1</V>\r\n</INFO>\r\n");

    TXMLObject empty(kSystem);
    EXPECT_FALSE(empty.SaveToFile(files, "C:\\nothing.xml", true, false));
    EXPECT_FALSE(files.FileExists("C:\\nothing.xml"));
    platform::FaultyFileSystem full(files);
    full.FillTheDisk();
    EXPECT_FALSE(document.SaveToFile(full, "C:\\out\\sub\\info.xml", true, true));
}

TEST(XmlObject, SaveReplacesALongerFileWhole) {
    // The file systems' own contract tests show that a whole-file write truncates on disk.
    platform::MemoryFileSystem files(platform::MemoryFileSystem::Folders::kMustBeCreated);
    ASSERT_TRUE(files.CreateFolders("C:\\setup\\").ok());
    files.files["C:\\setup\\info.xml"] = "<OLD>" + std::string(4000, 'x') + "</OLD>";
    TXMLObject document(kSystem);
    document.AddChild("INFO", "short", xcFull);
    ASSERT_TRUE(document.SaveToFile(files, "C:\\setup\\info.xml", false, false));
    EXPECT_EQ(files.files["C:\\setup\\info.xml"], "<INFO>short</INFO>");
}

}  // namespace
}  // namespace tolva::util

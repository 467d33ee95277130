// The element tree on arbitrary text: parsing and writing never fail, and a tree built through the
// coding API (as the installer builds the files it writes) comes back unchanged from its own XML.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "util/xml_coding.h"
#include "util/xml_object.h"
#include "xml_fuzz_support.h"

namespace {

using tolva::util::TXMLCoding;
using tolva::util::TXMLObject;

using tolva::util::fuzz::Require;
using tolva::util::fuzz::System;

// Reads the input as a little program that builds a tree.
class Builder {
public:
    explicit Builder(std::string_view input) : input_(input) {}

    void Build(TXMLObject& element, int depth) {
        const int children = depth < 6 ? Byte() % 4 : 0;
        const int attributes = Byte() % 3;
        for (int i = 0; i < attributes; ++i) {
            element.SetAttribute(Name(), Piece(), Mode(), (Byte() & 1) != 0);
        }
        if (children == 0) {
            element.SetText(Piece(), Mode());
            return;
        }
        for (int i = 0; i < children; ++i) {
            Build(element.AddChild(Name(), {}, tolva::util::xcNone), depth + 1);
        }
    }

private:
    uint8_t Byte() {
        if (input_.empty()) {
            return 0;
        }
        const auto byte = static_cast<uint8_t>(input_.front());
        input_.remove_prefix(1);
        return byte;
    }
    std::string_view Piece() {
        const size_t length = std::min<size_t>(Byte() % 16, input_.size());
        const std::string_view piece = input_.substr(0, length);
        input_.remove_prefix(length);
        return piece;
    }
    // Element and attribute names of name characters only, never empty.
    std::string Name() {
        static constexpr char kNameCharacters[] =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.:_";
        std::string name;
        const int length = 1 + Byte() % 4;
        for (int i = 0; i < length; ++i) {
            name += kNameCharacters[Byte() % (sizeof(kNameCharacters) - 1)];
        }
        return name;
    }
    // Entities are always escaped, so values never hold markup.
    TXMLCoding Mode() { return (Byte() & 1) != 0 ? tolva::util::xcFull : tolva::util::xcEntities; }

    std::string_view input_;
};

bool SameTree(const TXMLObject& a, const TXMLObject& b) {
    if (a.Name != b.Name || a.Text != b.Text || a.Children.size() != b.Children.size() ||
        a.Attributes.size() != b.Attributes.size()) {
        return false;
    }
    for (size_t i = 0; i < a.Attributes.size(); ++i) {
        if (a.Attributes[i].Name != b.Attributes[i].Name ||
            a.Attributes[i].Value != b.Attributes[i].Value) {
            return false;
        }
    }
    for (size_t i = 0; i < a.Children.size(); ++i) {
        if (!SameTree(*a.Children[i], *b.Children[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // Any text: parse, write, parse what was written, write again.
    TXMLObject parsed(System());
    parsed.ParseXML(input);
    const std::string written = parsed.ToXML(true, true);
    TXMLObject reparsed(System());
    reparsed.ParseXML(written);
    (void)reparsed.ToXML(false, false);
    for (const auto& child : parsed.Children) {
        (void)child->GetText(tolva::util::xcFull);
        for (const auto& attribute : child->Attributes) {
            (void)child->GetAttribute(attribute.Name, tolva::util::xcFull);
        }
    }

    // A tree built through the API survives its own XML exactly, in file form.
    TXMLObject built(System());
    Builder(input).Build(built.AddChild("ROOT", {}, tolva::util::xcNone), 0);
    for (const bool newLines : {false, true}) {
        TXMLObject reread(System());
        reread.ParseXML(built.ToXML(newLines, true));
        Require(SameTree(built, reread));
    }
    return 0;
}

// The tag scanner on arbitrary text: every element it finds lies inside the data, each search moves
// forward, and the attribute list agrees with the single-attribute look-up.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "util/xml_coding.h"
#include "util/xml_scanner.h"
#include "util/xml_tag.h"
#include "xml_fuzz_support.h"

namespace {

using tolva::util::TXMLCoding;

using tolva::util::fuzz::Require;
using tolva::util::fuzz::System;

void CheckAttributes(std::string_view tag, TXMLCoding mode) {
    std::set<std::string> seen;
    for (const tolva::util::TXMLAttribute& attribute :
         tolva::util::XMLTagAttributes(tag, mode, System())) {
        Require(!attribute.Name.empty());
        // The look-up by name finds the first attribute of that name.
        if (seen.insert(attribute.Name).second) {
            Require(tolva::util::XMLTagAttribute(tag, attribute.Name, mode, System()) ==
                    attribute.Value);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    // The first byte chooses the coding and the length of the name, which follows; the rest is
    // the XML text.
    const auto mode = static_cast<TXMLCoding>(data[0] & 3);
    const size_t nameLength = std::min<size_t>((data[0] >> 2) % 8, size - 1);
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string name(input.substr(0, nameLength));

    tolva::util::TXMLType outer;
    outer.Data = std::string(input.substr(nameLength));
    tolva::util::TXMLType inner = outer;
    std::string outerText;
    std::string innerText;
    bool found =
        tolva::util::XMLFindElement(outer, name, true, tolva::util::xcNone, System(), outerText);
    bool foundInner =
        tolva::util::XMLFindElement(inner, name, false, tolva::util::xcNone, System(), innerText);
    while (found) {
        Require(foundInner);
        Require(outer.Position == inner.Position);
        Require(outer.Position <= outer.Data.size());
        Require(outerText.compare(0, 1 + name.size(), "<" + name) == 0);
        Require(outer.Data.find(outerText) != std::string::npos);
        Require(outerText.find(innerText) != std::string::npos);
        CheckAttributes(outerText, mode);
        (void)tolva::util::DecodeXMLValue(innerText, mode, System());

        const size_t before = outer.Position;
        found =
            tolva::util::XMLFindNextElement(outer, true, tolva::util::xcNone, System(), outerText);
        foundInner =
            tolva::util::XMLFindNextElement(inner, false, tolva::util::xcNone, System(), innerText);
        Require(!found || outer.Position > before);
    }
    Require(!foundInner);
    Require(outerText.empty() && innerText.empty());

    CheckAttributes("<" + outer.Data, mode);
    for (const TXMLCoding coding :
         {tolva::util::xcFull, tolva::util::xcEntities, tolva::util::xcUTF8, tolva::util::xcNone}) {
        (void)tolva::util::DecodeXMLValue(outer.Data, coding, System());
        (void)tolva::util::EncodeXMLValue(outer.Data, coding, System());
    }
    return 0;
}

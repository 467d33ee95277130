#pragma once
// Attributes read straight from the text of an opening tag, such as <PX url="u" size='3'>.

#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"
#include "util/xml_coding.h"

namespace tolva::util {

struct TXMLAttribute {
    std::string Name;
    std::string Value;  // as in the file unless a caller decoded it
};

using TXMLAttributes = std::vector<TXMLAttribute>;

// The value of the first attribute called name (case-sensitive) that stands before the tag's first
// ">", outside quoted values, after a blank and directly followed by "=". A value runs between a
// quote character and the next one of the same kind; unquoted, up to the next blank or ">". The
// value is decoded under the mode. Empty when there is no such attribute.
std::string XMLTagAttribute(std::string_view tag, std::string_view name, TXMLCoding mode,
                            const platform::System& system);

// Every name=value pair of the tag in order, values decoded under the mode; a name may repeat.
TXMLAttributes XMLTagAttributes(std::string_view tag, TXMLCoding mode,
                                const platform::System& system);

}  // namespace tolva::util

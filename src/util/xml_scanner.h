#pragma once
// Finds one element directly in XML text without building a tree: a forward scan by element name.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/system.h"
#include "util/xml_coding.h"

namespace tolva::util {

struct TXMLType {
    std::string Data;     // the whole XML text
    std::string Name;     // the element sought
    size_t Position = 0;  // characters consumed; the next search starts at Data[Position]
};

// Resets the scanner; false for an empty file name or a file that cannot be read.
bool XMLLoadFile(TXMLType& xml, const platform::FileSystem& files, std::string_view fileName);

// Starts a new search for name from the beginning of the data (see XMLFindNextElement).
bool XMLFindElement(TXMLType& xml, std::string_view name, bool outer, TXMLCoding mode,
                    const platform::System& system, std::string& text);

// The next element called Name after Position: an opening tag "<Name" followed by a blank, "/" or
// ">" (case-sensitive). For an empty-element tag, text is the tag itself when outer is set, else
// empty. Otherwise the element ends at the first following "</Name>" (nested elements of the same
// name are not counted) and text is its content, or the whole element when outer is set, decoded
// under the mode. False, with text empty, when there is no such opening tag or its end tag is
// missing.
bool XMLFindNextElement(TXMLType& xml, bool outer, TXMLCoding mode, const platform::System& system,
                        std::string& text);

}  // namespace tolva::util

#include "util/xml_scanner.h"

#include <algorithm>
#include <utility>

#include "util/string_file.h"

namespace tolva::util {

namespace {

bool EndsTagName(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ' || c == '/' || c == '>';
}

// Index of the "<" of the next opening tag called name at or after from, or npos.
size_t FindOpeningTag(std::string_view data, std::string_view name, size_t from) {
    while (from < data.size()) {
        const size_t tagStart = data.find('<', from);
        if (tagStart == std::string_view::npos) {
            break;
        }
        const size_t after = tagStart + 1 + name.size();
        if (after < data.size() && data.substr(tagStart + 1, name.size()) == name &&
            EndsTagName(data[after])) {
            return tagStart;
        }
        from = tagStart + 1;
    }
    return std::string_view::npos;
}

}  // namespace

bool XMLLoadFile(TXMLType& xml, const platform::FileSystem& files, std::string_view fileName) {
    xml = TXMLType();
    if (fileName.empty()) {
        return false;
    }
    return ReadStringFromFile(files, fileName, xml.Data);
}

bool XMLFindElement(TXMLType& xml, std::string_view name, bool outer, TXMLCoding mode,
                    const platform::System& system, std::string& text) {
    xml.Name = std::string(name);
    xml.Position = 0;
    return XMLFindNextElement(xml, outer, mode, system, text);
}

bool XMLFindNextElement(TXMLType& xml, bool outer, TXMLCoding mode, const platform::System& system,
                        std::string& text) {
    text.clear();
    const std::string_view data = xml.Data;
    const std::string_view name = xml.Name;
    const size_t tagStart = FindOpeningTag(data, name, xml.Position);
    if (tagStart == std::string_view::npos) {
        return false;
    }
    // Without a ">" the tag runs to the end of the data.
    size_t tagEnd = data.find('>', tagStart + 1 + name.size());
    if (tagEnd == std::string_view::npos) {
        tagEnd = data.size();
    }
    xml.Position = std::min(tagEnd + 1, data.size());
    if (data[tagEnd - 1] == '/') {
        if (outer) {
            text = std::string(data.substr(tagStart, tagEnd + 1 - tagStart));
        }
        return true;
    }
    const std::string endTag = "</" + xml.Name + ">";
    const size_t endStart = data.find(endTag, xml.Position);
    if (endStart == std::string_view::npos) {
        return false;
    }
    const size_t elementEnd = endStart + endTag.size();
    xml.Position = elementEnd;
    const std::string_view found = outer ? data.substr(tagStart, elementEnd - tagStart)
                                         : data.substr(tagEnd + 1, endStart - (tagEnd + 1));
    text = DecodeXMLValue(found, mode, system);
    return true;
}

}  // namespace tolva::util

// TXMLObject::ParseXML: a lenient reader that keeps its open elements on an explicit stack, so the
// nesting depth of the input cannot exhaust the call stack.

#include <cstddef>
#include <vector>

#include "util/xml_object.h"

namespace tolva::util {

namespace {

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == ':' || c == '_';
}

struct OpenElement {
    TXMLObject* element;
    size_t textStart;  // where the element's next piece of character content begins
};

// In mixed content only the elements survive.
void CloseElement(TXMLObject& element) {
    if (!element.Text.empty() && !element.Children.empty()) {
        element.Text.clear();
    }
}

void CloseAll(std::vector<OpenElement>& open) {
    for (const OpenElement& level : open) {
        CloseElement(*level.element);
    }
}

}  // namespace

void TXMLObject::ParseXML(std::string_view xml) {
    std::vector<OpenElement> open{{this, 0}};
    size_t position = 0;
    while (true) {
        OpenElement& current = open.back();
        const size_t tagStart = xml.find('<', position);
        if (tagStart == std::string_view::npos) {
            // Text after the last tag is not collected.
            CloseAll(open);
            return;
        }
        current.element->Text.append(xml.substr(current.textStart, tagStart - current.textStart));
        const size_t tagEnd = xml.find('>', tagStart + 1);
        if (tagEnd == std::string_view::npos) {
            CloseAll(open);
            return;
        }
        position = tagEnd + 1;
        current.textStart = tagEnd + 1;

        if (xml[tagStart + 1] == '/') {
            // Any end tag closes the open element, whatever name it carries.
            CloseElement(*current.element);
            open.pop_back();
            if (open.empty()) {
                return;
            }
            open.back().textStart = tagEnd + 1;
            continue;
        }

        size_t nameEnd = tagStart + 1;
        while (nameEnd < tagEnd && IsNameCharacter(xml[nameEnd])) {
            ++nameEnd;
        }
        if (nameEnd == tagStart + 1) {
            // "<?", "<!" or a stray "<": skipped with everything up to its ">".
            continue;
        }
        const std::string_view tag = xml.substr(tagStart, tagEnd + 1 - tagStart);
        TXMLObject& child =
            current.element->AppendChild(xml.substr(tagStart + 1, nameEnd - tagStart - 1));
        for (const TXMLAttribute& attribute : XMLTagAttributes(tag, xcNone, system_)) {
            child.SetAttribute(attribute.Name, attribute.Value, xcNone, false);
        }
        const bool emptyElement = xml[tagEnd - 1] == '/';
        if (!emptyElement) {
            open.push_back({&child, tagEnd + 1});
        }
    }
}

}  // namespace tolva::util

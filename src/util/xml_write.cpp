// TXMLObject::ToXML: writes the tree depth first from an explicit stack rather than by recursion,
// so a tree of any depth can be written.

#include <cstddef>
#include <vector>

#include "util/xml_object.h"

namespace tolva::util {

namespace {

constexpr std::string_view kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
constexpr std::string_view kNewLine = "\r\n";

struct Frame {
    const TXMLObject* object;
    size_t nextChild;
};

// Writes what comes before the children; true when the object's children and closing follow.
bool WriteOpening(const TXMLObject& object, bool newLines, std::string& out) {
    if (object.Name.empty()) {
        out += object.Text;
        return true;
    }
    out += '<';
    out += object.Name;
    for (const TXMLAttribute& attribute : object.Attributes) {
        out += ' ';
        out += attribute.Name;
        out += "=\"";
        out += attribute.Value;
        out += '"';
    }
    if (object.Children.empty() && object.Text.empty()) {
        out += "/>";
        if (newLines) {
            out += kNewLine;
        }
        return false;
    }
    out += '>';
    out += object.Text;
    return true;
}

void WriteClosing(const TXMLObject& object, bool newLines, std::string& out) {
    if (object.Name.empty()) {
        return;
    }
    out += "</";
    out += object.Name;
    out += '>';
    if (newLines) {
        out += kNewLine;
    }
}

}  // namespace

std::string TXMLObject::ToXML(bool newLines, bool header) const {
    std::string out;
    if (header) {
        out += kHeader;
    }
    if (!WriteOpening(*this, newLines, out)) {
        return out;
    }
    std::vector<Frame> stack{{this, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.nextChild < frame.object->Children.size()) {
            const TXMLObject& child = *frame.object->Children[frame.nextChild++];
            if (WriteOpening(child, newLines, out)) {
                stack.push_back({&child, 0});
            }
            continue;
        }
        WriteClosing(*frame.object, newLines, out);
        stack.pop_back();
    }
    return out;
}

}  // namespace tolva::util

#pragma once
// An XML element tree: parse XML text into elements, read them by name, build them up and write
// them back. Lenient by design: any text parses into some tree, and only elements, attributes and
// text are understood (no validation, no namespaces).
//
// Text and attribute values are held in file form (entities, UTF-8). They are encoded when stored
// (SetText, SetAttribute, AddChild) and decoded when read (GetText, GetAttribute, GetChildText),
// each time under the coding the caller passes. ParseXML stores what it reads and ToXML writes what
// is stored, both without any coding.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/system.h"
#include "util/xml_coding.h"
#include "util/xml_tag.h"

namespace tolva::util {

class TXMLObject;
using TXMLChildren = std::vector<std::unique_ptr<TXMLObject>>;

// Longer element and attribute names are cut to this length.
inline constexpr size_t kMaxXMLNameLength = 255;

// An object with an empty Name is a container: a whole document or fragment, never written as an
// element itself. ParseXML on an empty container leaves the document's root as its first child.
class TXMLObject {
public:
    // The system converts between the ANSI code page and UTF-16; children share it. It must outlive
    // the object.
    explicit TXMLObject(const platform::System& system);
    // Children are released without recursion, so a tree of any depth can be destroyed.
    ~TXMLObject();
    TXMLObject(const TXMLObject&) = delete;
    TXMLObject& operator=(const TXMLObject&) = delete;

    TXMLChildren Children;      // owned, in document or insertion order
    TXMLAttributes Attributes;  // in insertion order; names may repeat
    std::string Text;           // file form
    std::string Name;           // at most kMaxXMLNameLength characters

    // Releases every descendant and empties the attributes, Text and Name.
    void Clear();

    // Appends a child called name (cut to the maximum length); a non-empty text is stored as
    // SetText does.
    TXMLObject& AddChild(std::string_view name, std::string_view text, TXMLCoding mode);
    void AddChildIfNotEmpty(std::string_view name, std::string_view text, TXMLCoding mode);
    // One child per non-empty piece of a list separated by ";;", each piece trimmed.
    void AddChildren(std::string_view name, std::string_view list, TXMLCoding mode);

    void SetText(std::string_view text, TXMLCoding mode);
    std::string GetText(TXMLCoding mode) const;

    // Nothing happens for an empty value. With replace the first attribute of that name gets the
    // value and a new one is appended only when there is none; without replace one is always
    // appended.
    void SetAttribute(std::string_view name, std::string_view value, TXMLCoding mode, bool replace);
    // The first attribute of that name (case-sensitive); empty when there is none.
    std::string GetAttribute(std::string_view name, TXMLCoding mode) const;

    // The first child of that name (case-sensitive, cut to the maximum length), or null.
    TXMLObject* FindChild(std::string_view name);
    const TXMLObject* FindChild(std::string_view name) const;
    // The named child's text; empty when there is no such child.
    std::string GetChildText(std::string_view name, TXMLCoding mode) const;
    // The same on an object that may be missing (null gives an empty text).
    static std::string GetChildText(const TXMLObject* object, std::string_view name,
                                    TXMLCoding mode);
    // The named child, added when missing, with its text set (an empty text empties it).
    TXMLObject& SetChildText(std::string_view name, std::string_view text, TXMLCoding mode);

    // Appends the elements found in the text to this object; existing children stay. Tags run to
    // the first ">" (quotes are not considered); declarations, comments and other tags that do not
    // start with a name are skipped with their content; any end tag closes the open element; text
    // mixed with elements is dropped, and so is text after the last tag. Nesting depth is limited
    // only by memory.
    void ParseXML(std::string_view xml);
    // False when the file is missing, unreadable or empty.
    bool LoadFromFile(const platform::FileSystem& files, std::string_view fileName);

    // The object and its descendants as XML text, without indentation. newLines ends each element
    // with CR LF; header puts the XML declaration and CR LF in front.
    std::string ToXML(bool newLines, bool header) const;
    // False when there is nothing to write or the write fails; creates missing folders.
    bool SaveToFile(platform::FileSystem& files, std::string_view fileName, bool newLines,
                    bool header) const;

private:
    TXMLObject& AppendChild(std::string_view name);

    const platform::System& system_;
};

}  // namespace tolva::util

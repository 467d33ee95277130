#include "util/xml_object.h"

#include <utility>

#include "util/string_file.h"
#include "util/text.h"

namespace tolva::util {

namespace {

std::string_view CutName(std::string_view name) {
    return name.substr(0, kMaxXMLNameLength);
}

// Destroys a subtree from a work list instead of by recursion, which a hostile document could
// nest deeply enough to exhaust the stack.
void ReleaseChildren(TXMLChildren& children) {
    TXMLChildren pending = std::move(children);
    children.clear();
    while (!pending.empty()) {
        std::unique_ptr<TXMLObject> object = std::move(pending.back());
        pending.pop_back();
        for (std::unique_ptr<TXMLObject>& child : object->Children) {
            pending.push_back(std::move(child));
        }
        object->Children.clear();
    }
}

}  // namespace

TXMLObject::TXMLObject(const platform::System& system) : system_(system) {}

TXMLObject::~TXMLObject() {
    ReleaseChildren(Children);
}

void TXMLObject::Clear() {
    ReleaseChildren(Children);
    Attributes.clear();
    Text.clear();
    Name.clear();
}

TXMLObject& TXMLObject::AppendChild(std::string_view name) {
    Children.push_back(std::make_unique<TXMLObject>(system_));
    TXMLObject& child = *Children.back();
    child.Name = std::string(CutName(name));
    return child;
}

TXMLObject& TXMLObject::AddChild(std::string_view name, std::string_view text, TXMLCoding mode) {
    TXMLObject& child = AppendChild(name);
    if (!text.empty()) {
        child.SetText(text, mode);
    }
    return child;
}

void TXMLObject::AddChildIfNotEmpty(std::string_view name, std::string_view text, TXMLCoding mode) {
    if (!text.empty()) {
        AddChild(name, text, mode);
    }
}

void TXMLObject::AddChildren(std::string_view name, std::string_view list, TXMLCoding mode) {
    constexpr std::string_view kSeparator = ";;";
    while (true) {
        const size_t at = list.find(kSeparator);
        const std::string piece = Trim(list.substr(0, at));
        if (!piece.empty()) {
            AddChild(name, piece, mode);
        }
        if (at == std::string_view::npos) {
            break;
        }
        list.remove_prefix(at + kSeparator.size());
    }
}

void TXMLObject::SetText(std::string_view text, TXMLCoding mode) {
    Text = EncodeXMLValue(text, mode, system_);
}

std::string TXMLObject::GetText(TXMLCoding mode) const {
    return DecodeXMLValue(Text, mode, system_);
}

void TXMLObject::SetAttribute(std::string_view name, std::string_view value, TXMLCoding mode,
                              bool replace) {
    if (value.empty()) {
        return;
    }
    const std::string_view cutName = CutName(name);
    std::string encoded = EncodeXMLValue(value, mode, system_);
    if (replace) {
        for (TXMLAttribute& attribute : Attributes) {
            if (attribute.Name == cutName) {
                attribute.Value = std::move(encoded);
                return;
            }
        }
    }
    Attributes.push_back(TXMLAttribute{std::string(cutName), std::move(encoded)});
}

std::string TXMLObject::GetAttribute(std::string_view name, TXMLCoding mode) const {
    for (const TXMLAttribute& attribute : Attributes) {
        if (attribute.Name == name) {
            return DecodeXMLValue(attribute.Value, mode, system_);
        }
    }
    return {};
}

TXMLObject* TXMLObject::FindChild(std::string_view name) {
    const std::string_view cutName = CutName(name);
    for (const std::unique_ptr<TXMLObject>& child : Children) {
        if (child->Name == cutName) {
            return child.get();
        }
    }
    return nullptr;
}

const TXMLObject* TXMLObject::FindChild(std::string_view name) const {
    return const_cast<TXMLObject*>(this)->FindChild(name);
}

std::string TXMLObject::GetChildText(std::string_view name, TXMLCoding mode) const {
    const TXMLObject* child = FindChild(name);
    return child != nullptr ? child->GetText(mode) : std::string();
}

std::string TXMLObject::GetChildText(const TXMLObject* object, std::string_view name,
                                     TXMLCoding mode) {
    return object != nullptr ? object->GetChildText(name, mode) : std::string();
}

TXMLObject& TXMLObject::SetChildText(std::string_view name, std::string_view text,
                                     TXMLCoding mode) {
    TXMLObject* child = FindChild(name);
    if (child == nullptr) {
        child = &AddChild(name, {}, mode);
    }
    child->SetText(text, mode);
    return *child;
}

bool TXMLObject::LoadFromFile(const platform::FileSystem& files, std::string_view fileName) {
    const std::string content = LoadStringFromFile(files, fileName);
    if (content.empty()) {
        return false;
    }
    ParseXML(content);
    return true;
}

bool TXMLObject::SaveToFile(platform::FileSystem& files, std::string_view fileName, bool newLines,
                            bool header) const {
    const std::string xml = ToXML(newLines, header);
    if (xml.empty()) {
        return false;
    }
    return SaveStringToFile(files, xml, fileName, false, false);
}

}  // namespace tolva::util

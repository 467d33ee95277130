#include "util/xml_tag.h"

#include <cstddef>
#include <utility>

namespace tolva::util {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

// The raw value that starts at from (the character after "="): the text between the first quote
// and the next quote of the same kind, or, without a closing quote, everything up to where reading
// stopped (a blank or ">" before any quote, or the end of the tag).
std::string_view ValueAt(std::string_view tag, size_t from) {
    char quote = 0;
    size_t opening = 0;
    size_t i = from;
    for (; i < tag.size(); ++i) {
        const char c = tag[i];
        if (quote == 0) {
            if (IsQuote(c)) {
                quote = c;
                opening = i;
            } else if (IsBlank(c) || c == '>') {
                break;
            }
        } else if (c == quote) {
            return tag.substr(opening + 1, i - opening - 1);
        }
    }
    return tag.substr(from, i - from);
}

}  // namespace

std::string XMLTagAttribute(std::string_view tag, std::string_view name, TXMLCoding mode,
                            const platform::System& system) {
    if (name.empty()) {
        return {};
    }
    char quote = 0;
    for (size_t i = 0; i < tag.size(); ++i) {
        const char c = tag[i];
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            }
            continue;
        }
        if (c == '>') {
            break;
        }
        if (IsQuote(c)) {
            quote = c;
            continue;
        }
        const size_t equals = i + 1 + name.size();
        if (IsBlank(c) && equals < tag.size() && tag.substr(i + 1, name.size()) == name &&
            tag[equals] == '=') {
            return DecodeXMLValue(ValueAt(tag, equals + 1), mode, system);
        }
    }
    return {};
}

TXMLAttributes XMLTagAttributes(std::string_view tag, TXMLCoding mode,
                                const platform::System& system) {
    TXMLAttributes attributes;
    if (tag.size() < 3) {
        return attributes;
    }
    // The first character is the "<", the last the ">"; before the first blank comes the tag name.
    const size_t last = tag.size() - 2;
    char quote = 0;
    size_t nameStart = std::string_view::npos;
    for (size_t i = 1; i <= last; ++i) {
        const char c = tag[i];
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            }
            continue;
        }
        if (IsQuote(c)) {
            quote = c;
        } else if (IsBlank(c)) {
            nameStart = i + 1;
        } else if (c == '=') {
            if (nameStart != std::string_view::npos && i > nameStart) {
                TXMLAttribute attribute;
                attribute.Name = std::string(tag.substr(nameStart, i - nameStart));
                attribute.Value = DecodeXMLValue(ValueAt(tag, i + 1), mode, system);
                attributes.push_back(std::move(attribute));
            }
            nameStart = std::string_view::npos;
        } else if (c == '>') {
            break;
        }
    }
    return attributes;
}

}  // namespace tolva::util

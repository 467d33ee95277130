#include "util/xml_coding.h"

#include <cstddef>

#include "util/text.h"
#include "util/utf8.h"

namespace tolva::util {

namespace {

bool HasHighByte(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

bool Escapes(TXMLCoding mode) {
    return mode == xcFull || mode == xcEntities;
}

bool ConvertsUTF8(TXMLCoding mode) {
    return mode == xcFull || mode == xcUTF8;
}

std::string EscapeEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

struct NamedReference {
    std::string_view reference;
    char replacement;
};

constexpr NamedReference kNamedReferences[] = {
    {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''},
    {"&lt;", '<'},  {"&gt;", '>'},   {"&nbsp;", ' '},
};

std::string ResolveReferences(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    // A "&#" with no ";" after it is no reference. The last ";" of the text tells that at once; a
    // search would run to the end of the text once for every such "&#", quadratic in its size.
    const size_t lastSemicolon = text.rfind(';');
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '&') {
            out += text[i++];
            continue;
        }
        bool resolved = false;
        for (const NamedReference& named : kNamedReferences) {
            if (SameText(text.substr(i, named.reference.size()), named.reference)) {
                out += named.replacement;
                i += named.reference.size();
                resolved = true;
                break;
            }
        }
        if (resolved) {
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '#' && lastSemicolon != std::string_view::npos &&
            lastSemicolon > i + 1) {
            // The reference takes everything up to its ";", so no text is searched twice.
            const size_t semicolon = text.find(';', i + 2);
            const int32_t value = LeadingInteger(text.substr(i + 2, semicolon - (i + 2)));
            out += static_cast<char>(static_cast<uint32_t>(value) & 0xFF);
            i = semicolon + 1;
            continue;
        }
        out += text[i++];
    }
    return out;
}

}  // namespace

std::string EncodeXMLValue(std::string_view text, TXMLCoding mode, const platform::System& system) {
    std::string out = Escapes(mode) ? EscapeEntities(text) : std::string(text);
    if (ConvertsUTF8(mode) && HasHighByte(out)) {
        out = WideToUTF8(system.AnsiToWide(out));
    }
    return out;
}

std::string DecodeXMLValue(std::string_view text, TXMLCoding mode, const platform::System& system) {
    std::string out(text);
    if (ConvertsUTF8(mode) && HasHighByte(out)) {
        out = system.WideToAnsi(UTF8ToWide(out));
    }
    if (Escapes(mode)) {
        out = ResolveReferences(out);
    }
    return out;
}

bool XMLStrToBool(std::string_view text) {
    return LowerCase(text) == "true" || text == "1";
}

std::string XMLBoolToStr(bool value) {
    return value ? "1" : "0";
}

}  // namespace tolva::util

#include "util/text.h"

#include <cstddef>

namespace tolva::util {

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

int DigitValue(char c, bool hex) {
    if (hex) {
        return HexDigitValue(c);
    }
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

struct ParsedInteger {
    int32_t value = 0;
    bool complete = false;  // digits were read, up to the end of the text, without overflow
};

ParsedInteger ParseInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    // Decimal stays within the signed range (one more for a negative value); hexadecimal may use
    // all 32 bits, as the classic conversion allows.
    const uint64_t limit = hex ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    const uint64_t base = hex ? 16 : 10;
    uint64_t magnitude = 0;
    size_t digits = 0;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], hex);
        if (digit < 0) {
            break;
        }
        const uint64_t next = magnitude * base + static_cast<uint64_t>(digit);
        if (next > limit) {
            overflow = true;
            break;
        }
        magnitude = next;
        ++digits;
    }
    const uint32_t bits = static_cast<uint32_t>(magnitude);
    const uint32_t signedBits = negative ? 0u - bits : bits;
    ParsedInteger result;
    result.value = static_cast<int32_t>(signedBits);
    result.complete = digits > 0 && !overflow && i == text.size();
    return result;
}

}  // namespace

std::string TrimLeft(std::string_view text) {
    size_t first = 0;
    while (first < text.size() && IsBlankOrControl(text[first])) {
        ++first;
    }
    return std::string(text.substr(first));
}

std::string TrimRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && IsBlankOrControl(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(0, end));
}

std::string Trim(std::string_view text) {
    size_t first = 0;
    size_t end = text.size();
    while (first < end && IsBlankOrControl(text[first])) {
        ++first;
    }
    while (end > first && IsBlankOrControl(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(first, end - first));
}

std::string LowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = AsciiLower(c);
    }
    return result;
}

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = AsciiUpper(c);
    }
    return result;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::vector<std::string> SplitText(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    while (true) {
        const size_t end = text.find(separator);
        pieces.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            return pieces;
        }
        text.remove_prefix(end + 1);
    }
}

std::vector<std::string> ListItems(std::string_view list) {
    std::vector<std::string> items = SplitText(list, ';');
    std::erase_if(items, [](const std::string& item) { return item.empty(); });
    return items;
}

std::vector<std::string> TrimmedListItems(std::string_view list) {
    std::vector<std::string> items = SplitText(list, ';');
    for (std::string& item : items) {
        item = Trim(item);
    }
    std::erase_if(items, [](const std::string& item) { return item.empty(); });
    return items;
}

int32_t LeadingInteger(std::string_view text) {
    return ParseInteger(text).value;
}

int32_t StrToIntDef(std::string_view text, int32_t defaultValue) {
    const ParsedInteger parsed = ParseInteger(text);
    return parsed.complete ? parsed.value : defaultValue;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    size_t start = 0;
    for (size_t found = text.find(from); !from.empty() && found != std::string_view::npos;
         found = text.find(from, start)) {
        out.append(text.substr(start, found - start)).append(to);
        start = found + from.size();
    }
    out.append(text.substr(start));
    return out;
}

std::u16string FillMarks(std::u16string_view text,
                         std::initializer_list<std::u16string_view> values) {
    std::u16string out;
    const std::u16string_view* next = values.begin();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] == u's' && next != values.end()) {
            out += *next++;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace tolva::util

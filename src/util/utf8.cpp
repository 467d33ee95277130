#include "util/utf8.h"

#include <cstddef>
#include <cstdint>

namespace tolva::util {

std::string WideToUTF8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char16_t unit : text) {
        const uint32_t u = unit;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | u >> 6);
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | u >> 12);
            out += static_cast<char>(0x80 | (u >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

std::u16string UTF8ToWide(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const uint32_t lead = static_cast<uint8_t>(text[i]);
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        const size_t length = (lead & 0x20) != 0 ? 3 : 2;
        if (text.size() - i < length) {
            break;
        }
        const uint32_t b2 = static_cast<uint8_t>(text[i + 1]);
        if (length == 3) {
            const uint32_t b3 = static_cast<uint8_t>(text[i + 2]);
            out += static_cast<char16_t>((lead & 0x0F) << 12 | (b2 & 0x3F) << 6 | (b3 & 0x3F));
        } else {
            out += static_cast<char16_t>((lead & 0x1F) << 6 | (b2 & 0x3F));
        }
        i += length;
    }
    return out;
}

}  // namespace tolva::util

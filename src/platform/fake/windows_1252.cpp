#include "platform/fake/windows_1252.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tolva::platform {
namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

char ToByte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

}  // namespace

std::u16string Windows1252ToWide(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<uint8_t>(c);
        wide.push_back(byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char16_t{byte});
    }
    return wide;
}

std::string WideToWindows1252(std::u16string_view text) {
    std::string ansi;
    ansi.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ansi.push_back('?');
            ++i;
            continue;
        }
        ansi.push_back(ToByte(text[i]));
    }
    return ansi;
}

char UpperCase1252(char c) {
    auto byte = static_cast<uint8_t>(c);
    if (byte >= 'a' && byte <= 'z') {
        return static_cast<char>(byte - 0x20);
    }
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) {
        return static_cast<char>(byte - 0x20);
    }
    switch (byte) {
        case 0x9A:  // š
        case 0x9C:  // œ
        case 0x9E:  // ž
            return static_cast<char>(byte - 0x10);
        case 0xFF:  // ÿ
            return static_cast<char>(0x9F);
        default:
            return c;
    }
}

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const auto left = static_cast<uint8_t>(UpperCase1252(a[i]));
        const auto right = static_cast<uint8_t>(UpperCase1252(b[i]));
        if (left != right) {
            return left < right;
        }
    }
    return a.size() < b.size();
}

}  // namespace tolva::platform

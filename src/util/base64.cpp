#include "util/base64.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace tolva::util {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return -1;
}

}  // namespace

std::string Base64Encode(std::string_view data) {
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= data.size(); i += 3) {
        const uint32_t group = static_cast<uint32_t>(static_cast<uint8_t>(data[i])) << 16 |
                               static_cast<uint32_t>(static_cast<uint8_t>(data[i + 1])) << 8 |
                               static_cast<uint8_t>(data[i + 2]);
        out += kAlphabet[group >> 18 & 0x3F];
        out += kAlphabet[group >> 12 & 0x3F];
        out += kAlphabet[group >> 6 & 0x3F];
        out += kAlphabet[group & 0x3F];
    }
    const size_t rest = data.size() - i;
    if (rest > 0) {
        uint32_t group = static_cast<uint32_t>(static_cast<uint8_t>(data[i])) << 16;
        if (rest == 2) {
            group |= static_cast<uint32_t>(static_cast<uint8_t>(data[i + 1])) << 8;
        }
        out += kAlphabet[group >> 18 & 0x3F];
        out += kAlphabet[group >> 12 & 0x3F];
        out += rest == 2 ? kAlphabet[group >> 6 & 0x3F] : '=';
        out += '=';
    }
    return out;
}

bool Base64Decode(std::string_view text, std::string& out) {
    out.clear();
    if (text.size() % 4 != 0) {
        return false;
    }
    std::string result;
    result.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        size_t padding = 0;
        if (last && text[i + 3] == '=') {
            padding = text[i + 2] == '=' ? 2 : 1;
        }
        uint32_t group = 0;
        for (size_t k = 0; k < 4; ++k) {
            int sextet = 0;
            if (k < 4 - padding) {
                sextet = SextetOf(text[i + k]);
                if (sextet < 0) {
                    return false;
                }
            }
            group = group << 6 | static_cast<uint32_t>(sextet);
        }
        // The bits that the padding leaves over must be zero, so every byte string has one form.
        if ((padding == 1 && (group & 0xFF) != 0) || (padding == 2 && (group & 0xFFFF) != 0)) {
            return false;
        }
        result += static_cast<char>(group >> 16 & 0xFF);
        if (padding < 2) {
            result += static_cast<char>(group >> 8 & 0xFF);
        }
        if (padding < 1) {
            result += static_cast<char>(group & 0xFF);
        }
    }
    out = std::move(result);
    return true;
}

}  // namespace tolva::util

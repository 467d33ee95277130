#pragma once
// Hexadecimal text <-> bytes for test vectors.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolva::archive::test {

inline std::vector<uint8_t> FromHex(std::string_view hex) {
    std::vector<uint8_t> bytes;
    auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        {
            { bytes.push_back(uint8_t(nibble(hex[i]) << 4 | nibble(hex[i + 1]))); }
        }
    }
    return bytes;
}

inline std::string ToHex(const uint8_t* data, size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < size; ++i) {
        hex += kDigits[data[i] >> 4];
        hex += kDigits[data[i] & 15];
    }
    return hex;
}

template <typename Bytes>
std::string ToHex(const Bytes& bytes) {
    return ToHex(bytes.data(), bytes.size());
}

}  // namespace tolva::archive::test

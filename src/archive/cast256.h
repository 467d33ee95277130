#pragma once
// The CAST-256 block cipher (RFC 2612): 16-byte blocks, keys of up to 32 bytes.

#include <cstddef>
#include <cstdint>

namespace tolva::archive {

class Cast256 {
public:
    static constexpr size_t kBlockSize = 16;
    static constexpr size_t kMaxKeySize = 32;

    // Keys shorter than 32 bytes are padded with zero bytes, so a 20-byte SHA-1 digest serves as a
    // 160-bit key. Returns false (and leaves the cipher unkeyed) for a key longer than kMaxKeySize.
    bool SetKey(const uint8_t* key, size_t size);

    // in and out may be the same buffer.
    void EncryptBlock(const uint8_t* in, uint8_t* out) const;
    void DecryptBlock(const uint8_t* in, uint8_t* out) const;

private:
    uint32_t masking_[12][4] = {};
    uint8_t rotation_[12][4] = {};
};

}  // namespace tolva::archive

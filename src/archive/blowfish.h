#pragma once
// The Blowfish block cipher: 8-byte blocks read as two big-endian halves, keys of 1 to 72 bytes.

#include <cstddef>
#include <cstdint>

namespace tolva::archive {

class Blowfish {
public:
    static constexpr size_t kBlockSize = 8;
    static constexpr size_t kMaxKeySize = 72;

    // Returns false (and leaves the cipher unkeyed) for an empty key or one longer than
    // kMaxKeySize. Keys beyond 56 bytes are accepted as other implementations do, though the extra
    // bytes add little.
    bool SetKey(const uint8_t* key, size_t size);

    // in and out may be the same buffer.
    void EncryptBlock(const uint8_t* in, uint8_t* out) const;
    void DecryptBlock(const uint8_t* in, uint8_t* out) const;

private:
    void EncryptHalves(uint32_t& left, uint32_t& right) const;
    uint32_t Round(uint32_t x) const;

    uint32_t p_[18] = {};
    uint32_t s_[4][256] = {};
};

}  // namespace tolva::archive

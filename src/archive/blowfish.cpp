#include "archive/blowfish.h"

#include <cstring>
#include <utility>

#include "archive/blowfish_tables.h"
#include "archive/byte_order.h"

namespace tolva::archive {

inline uint32_t Blowfish::Round(uint32_t x) const {
    return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) + s_[3][x & 0xFF];
}

void Blowfish::EncryptHalves(uint32_t& left, uint32_t& right) const {
    uint32_t l = left, r = right;
    for (int i = 0; i < 16; i += 2) {
        l ^= p_[i];
        r ^= Round(l);
        r ^= p_[i + 1];
        l ^= Round(r);
    }
    l ^= p_[16];
    r ^= p_[17];
    left = r;
    right = l;
}

bool Blowfish::SetKey(const uint8_t* key, size_t size) {
    if (size == 0 || size > kMaxKeySize) {
        return false;
    }
    std::memcpy(p_, detail::kBlowfishInitialP, sizeof p_);
    std::memcpy(s_, detail::kBlowfishInitialS, sizeof s_);
    size_t at = 0;
    for (uint32_t& subkey : p_) {
        uint32_t word = 0;
        for (int i = 0; i < 4; ++i) {
            word = word << 8 | key[at];
            at = (at + 1) % size;
        }
        subkey ^= word;
    }
    uint32_t l = 0, r = 0;
    for (int i = 0; i < 18; i += 2) {
        EncryptHalves(l, r);
        p_[i] = l;
        p_[i + 1] = r;
    }
    for (auto& box : s_) {
        for (int i = 0; i < 256; i += 2) {
            EncryptHalves(l, r);
            box[i] = l;
            box[i + 1] = r;
        }
    }
    return true;
}

void Blowfish::EncryptBlock(const uint8_t* in, uint8_t* out) const {
    uint32_t l = LoadBigEndian32(in), r = LoadBigEndian32(in + 4);
    EncryptHalves(l, r);
    StoreBigEndian32(l, out);
    StoreBigEndian32(r, out + 4);
}

void Blowfish::DecryptBlock(const uint8_t* in, uint8_t* out) const {
    uint32_t l = LoadBigEndian32(in), r = LoadBigEndian32(in + 4);
    for (int i = 17; i > 1; i -= 2) {
        l ^= p_[i];
        r ^= Round(l);
        r ^= p_[i - 1];
        l ^= Round(r);
    }
    l ^= p_[1];
    r ^= p_[0];
    StoreBigEndian32(r, out);
    StoreBigEndian32(l, out + 4);
}

}  // namespace tolva::archive

#include "archive/cast256.h"

#include <bit>

#include "archive/byte_order.h"
#include "archive/cast256_tables.h"

namespace tolva::archive {

namespace {

using detail::kCastS;

// The three round function types.
inline uint32_t F1(uint32_t d, uint32_t km, uint8_t kr) {
    const uint32_t i = std::rotl(km + d, kr);
    return ((kCastS[0][i >> 24] ^ kCastS[1][(i >> 16) & 0xFF]) - kCastS[2][(i >> 8) & 0xFF]) +
           kCastS[3][i & 0xFF];
}

inline uint32_t F2(uint32_t d, uint32_t km, uint8_t kr) {
    const uint32_t i = std::rotl(km ^ d, kr);
    return ((kCastS[0][i >> 24] - kCastS[1][(i >> 16) & 0xFF]) + kCastS[2][(i >> 8) & 0xFF]) ^
           kCastS[3][i & 0xFF];
}

inline uint32_t F3(uint32_t d, uint32_t km, uint8_t kr) {
    const uint32_t i = std::rotl(km - d, kr);
    return ((kCastS[0][i >> 24] + kCastS[1][(i >> 16) & 0xFF]) ^ kCastS[2][(i >> 8) & 0xFF]) -
           kCastS[3][i & 0xFF];
}

}  // namespace

bool Cast256::SetKey(const uint8_t* key, size_t size) {
    if (size > kMaxKeySize) {
        return false;
    }
    uint8_t padded[kMaxKeySize] = {};
    for (size_t i = 0; i < size; ++i) {
        padded[i] = key[i];
    }
    uint32_t k[8];  // A..H
    for (int i = 0; i < 8; ++i) {
        k[i] = LoadBigEndian32(padded + 4 * i);
    }

    // Key-schedule constants: masking values step by 2^30*sqrt(3) from 2^30*sqrt(2), rotations by
    // 17 from 19.
    uint32_t cm = 0x5A827999;
    uint8_t cr = 19;
    auto forwardOctave = [&] {
        uint32_t tm[8];
        uint8_t tr[8];
        for (int j = 0; j < 8; ++j) {
            tm[j] = cm;
            cm += 0x6ED9EBA1;
            tr[j] = cr;
            cr = (cr + 17) & 31;
        }
        k[6] ^= F1(k[7], tm[0], tr[0]);
        k[5] ^= F2(k[6], tm[1], tr[1]);
        k[4] ^= F3(k[5], tm[2], tr[2]);
        k[3] ^= F1(k[4], tm[3], tr[3]);
        k[2] ^= F2(k[3], tm[4], tr[4]);
        k[1] ^= F3(k[2], tm[5], tr[5]);
        k[0] ^= F1(k[1], tm[6], tr[6]);
        k[7] ^= F2(k[0], tm[7], tr[7]);
    };
    for (int i = 0; i < 12; ++i) {
        forwardOctave();
        forwardOctave();
        rotation_[i][0] = k[0] & 31;
        rotation_[i][1] = k[2] & 31;
        rotation_[i][2] = k[4] & 31;
        rotation_[i][3] = k[6] & 31;
        masking_[i][0] = k[7];
        masking_[i][1] = k[5];
        masking_[i][2] = k[3];
        masking_[i][3] = k[1];
    }
    return true;
}

void Cast256::EncryptBlock(const uint8_t* in, uint8_t* out) const {
    uint32_t a = LoadBigEndian32(in), b = LoadBigEndian32(in + 4), c = LoadBigEndian32(in + 8),
             d = LoadBigEndian32(in + 12);
    for (int i = 0; i < 6; ++i) {  // forward quad-rounds
        const uint32_t* km = masking_[i];
        const uint8_t* kr = rotation_[i];
        c ^= F1(d, km[0], kr[0]);
        b ^= F2(c, km[1], kr[1]);
        a ^= F3(b, km[2], kr[2]);
        d ^= F1(a, km[3], kr[3]);
    }
    for (int i = 6; i < 12; ++i) {  // reverse quad-rounds
        const uint32_t* km = masking_[i];
        const uint8_t* kr = rotation_[i];
        d ^= F1(a, km[3], kr[3]);
        a ^= F3(b, km[2], kr[2]);
        b ^= F2(c, km[1], kr[1]);
        c ^= F1(d, km[0], kr[0]);
    }
    StoreBigEndian32(a, out);
    StoreBigEndian32(b, out + 4);
    StoreBigEndian32(c, out + 8);
    StoreBigEndian32(d, out + 12);
}

void Cast256::DecryptBlock(const uint8_t* in, uint8_t* out) const {
    uint32_t a = LoadBigEndian32(in), b = LoadBigEndian32(in + 4), c = LoadBigEndian32(in + 8),
             d = LoadBigEndian32(in + 12);
    // A forward quad-round undoes a reverse one and vice versa, so the rounds run backwards with
    // swapped kinds.
    for (int i = 11; i >= 6; --i) {
        const uint32_t* km = masking_[i];
        const uint8_t* kr = rotation_[i];
        c ^= F1(d, km[0], kr[0]);
        b ^= F2(c, km[1], kr[1]);
        a ^= F3(b, km[2], kr[2]);
        d ^= F1(a, km[3], kr[3]);
    }
    for (int i = 5; i >= 0; --i) {
        const uint32_t* km = masking_[i];
        const uint8_t* kr = rotation_[i];
        d ^= F1(a, km[3], kr[3]);
        a ^= F3(b, km[2], kr[2]);
        b ^= F2(c, km[1], kr[1]);
        c ^= F1(d, km[0], kr[0]);
    }
    StoreBigEndian32(a, out);
    StoreBigEndian32(b, out + 4);
    StoreBigEndian32(c, out + 8);
    StoreBigEndian32(d, out + 12);
}

}  // namespace tolva::archive

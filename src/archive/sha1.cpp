#include "archive/sha1.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "archive/byte_order.h"

namespace tolva::archive {

void Sha1::Reset() {
    state_[0] = 0x67452301;
    state_[1] = 0xEFCDAB89;
    state_[2] = 0x98BADCFE;
    state_[3] = 0x10325476;
    state_[4] = 0xC3D2E1F0;
    length_ = 0;
    buffered_ = 0;
}

void Sha1::Compress(const uint8_t* block) {
    uint32_t w[80];
    for (int t = 0; t < 16; ++t) {
        w[t] = LoadBigEndian32(block + 4 * t);
    }
    for (int t = 16; t < 80; ++t) {
        w[t] = std::rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
    }

    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3], e = state_[4];
    for (int t = 0; t < 80; ++t) {
        uint32_t f, k;
        if (t < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999;
        } else if (t < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6;
        }
        const uint32_t temp = std::rotl(a, 5) + f + e + k + w[t];
        e = d;
        d = c;
        c = std::rotl(b, 30);
        b = a;
        a = temp;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
    state_[4] += e;
}

void Sha1::Update(const void* data, size_t size) {
    auto* in = static_cast<const uint8_t*>(data);
    length_ += size;
    if (buffered_ > 0) {
        const size_t take = std::min(size, sizeof buffer_ - buffered_);
        std::memcpy(buffer_ + buffered_, in, take);
        buffered_ += take;
        in += take;
        size -= take;
        if (buffered_ < sizeof buffer_) {
            return;
        }
        Compress(buffer_);
        buffered_ = 0;
    }
    for (; size >= 64; in += 64, size -= 64) {
        Compress(in);
    }
    if (size > 0) {
        std::memcpy(buffer_, in, size);
        buffered_ = size;
    }
}

Sha1::Digest Sha1::Finish() {
    const uint64_t bits = length_ * 8;
    static const uint8_t kPadding[64] = {0x80};
    // Pad to 56 bytes modulo 64, then the message length in bits, big-endian.
    const size_t pad = buffered_ < 56 ? 56 - buffered_ : 120 - buffered_;
    Update(kPadding, pad);
    uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i) {
        lengthBytes[i] = uint8_t(bits >> (56 - 8 * i));
    }
    Update(lengthBytes, 8);

    Digest digest;
    for (int i = 0; i < 5; ++i) {
        digest[4 * i] = uint8_t(state_[i] >> 24);
        digest[4 * i + 1] = uint8_t(state_[i] >> 16);
        digest[4 * i + 2] = uint8_t(state_[i] >> 8);
        digest[4 * i + 3] = uint8_t(state_[i]);
    }
    Reset();
    return digest;
}

Sha1::Digest Sha1::Hash(const void* data, size_t size) {
    Sha1 sha;
    sha.Update(data, size);
    return sha.Finish();
}

}  // namespace tolva::archive

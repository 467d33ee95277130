#pragma once
// What SHA-1 and SHA-256 share: 64-byte blocks, the padding, and the message length in bits
// appended big-endian. An engine supplies the state, its start values and the compression.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "archive/byte_order.h"

namespace tolva::archive {

// Engine: kWords (state words), kDigestSize (bytes, at most 4 * kWords), a uint32_t state[kWords],
// Reset() setting the start values, and Compress(const uint8_t* block) over 64 bytes.
template <typename Engine>
class BlockHash {
public:
    static constexpr size_t kDigestSize = Engine::kDigestSize;
    using Digest = std::array<uint8_t, kDigestSize>;

    BlockHash() { Reset(); }

    void Reset() {
        engine_.Reset();
        length_ = 0;
        buffered_ = 0;
    }

    void Update(const void* data, size_t size) {
        auto* in = static_cast<const uint8_t*>(data);
        length_ += size;
        if (buffered_ > 0) {
            const size_t take = size < kBlock - buffered_ ? size : kBlock - buffered_;
            std::memcpy(buffer_ + buffered_, in, take);
            buffered_ += take;
            in += take;
            size -= take;
            if (buffered_ < kBlock) {
                return;
            }
            engine_.Compress(buffer_);
            buffered_ = 0;
        }
        for (; size >= kBlock; in += kBlock, size -= kBlock) {
            engine_.Compress(in);
        }
        if (size > 0) {
            std::memcpy(buffer_, in, size);
            buffered_ = size;
        }
    }
    void Update(std::string_view data) { Update(data.data(), data.size()); }

    // Returns the digest of everything passed since the last Reset and starts over.
    Digest Finish() {
        const uint64_t bits = length_ * 8;
        static const uint8_t kPadding[kBlock] = {0x80};
        // Pad to 56 bytes modulo 64, then the message length in bits, big-endian.
        const size_t pad = buffered_ < 56 ? 56 - buffered_ : 120 - buffered_;
        Update(kPadding, pad);
        uint8_t lengthBytes[8];
        StoreBigEndian32(uint32_t(bits >> 32), lengthBytes);
        StoreBigEndian32(uint32_t(bits), lengthBytes + 4);
        Update(lengthBytes, 8);

        uint8_t words[4 * Engine::kWords];
        for (size_t i = 0; i < Engine::kWords; ++i) {
            StoreBigEndian32(engine_.state[i], words + 4 * i);
        }
        Digest digest;
        std::memcpy(digest.data(), words, kDigestSize);
        Reset();
        return digest;
    }

    static Digest Hash(const void* data, size_t size) {
        BlockHash hash;
        hash.Update(data, size);
        return hash.Finish();
    }
    static Digest Hash(std::string_view data) { return Hash(data.data(), data.size()); }

private:
    static constexpr size_t kBlock = 64;

    Engine engine_;
    uint64_t length_ = 0;  // bytes passed so far
    uint8_t buffer_[kBlock];
    size_t buffered_ = 0;
};

}  // namespace tolva::archive

#pragma once
// SHA-1 message digest (FIPS 180-1), incremental or in one call.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tolva::archive {

class Sha1 {
public:
    static constexpr size_t kDigestSize = 20;
    using Digest = std::array<uint8_t, kDigestSize>;

    Sha1() { Reset(); }

    void Reset();
    void Update(const void* data, size_t size);
    void Update(std::string_view data) { Update(data.data(), data.size()); }
    // Returns the digest of everything passed since the last Reset and starts over.
    Digest Finish();

    static Digest Hash(const void* data, size_t size);
    static Digest Hash(std::string_view data) { return Hash(data.data(), data.size()); }

private:
    void Compress(const uint8_t* block);

    uint32_t state_[5];
    uint64_t length_;  // bytes passed so far
    uint8_t buffer_[64];
    size_t buffered_;
};

}  // namespace tolva::archive

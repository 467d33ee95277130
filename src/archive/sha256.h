#pragma once
// SHA-256 message digest (FIPS 180-4), incremental or in one call.

#include <cstddef>
#include <cstdint>

#include "archive/block_hash.h"

namespace tolva::archive {

struct Sha256Engine {
    static constexpr size_t kWords = 8;
    static constexpr size_t kDigestSize = 32;
    uint32_t state[kWords];
    void Reset();
    void Compress(const uint8_t* block);
};

using Sha256 = BlockHash<Sha256Engine>;

}  // namespace tolva::archive

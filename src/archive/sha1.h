#pragma once
// SHA-1 message digest (FIPS 180-1), incremental or in one call.

#include <cstddef>
#include <cstdint>

#include "archive/block_hash.h"

namespace tolva::archive {

struct Sha1Engine {
    static constexpr size_t kWords = 5;
    static constexpr size_t kDigestSize = 20;
    uint32_t state[kWords];
    void Reset();
    void Compress(const uint8_t* block);
};

using Sha1 = BlockHash<Sha1Engine>;

}  // namespace tolva::archive

#pragma once
// The XOR scrambling of the server's record files (settings, legacy domain table, account records).

#include <cstddef>
#include <cstdint>

namespace tolva::stores {

// XORs length bytes in place with the settings key, starting at key position phase (0..15): the
// position of the block's first byte within its file, modulo 16. The same call scrambles and
// unscrambles.
void ScrambleBlock(uint8_t* buffer, size_t length, unsigned phase);

}  // namespace tolva::stores

#include "stores/scramble.h"

#include <array>

namespace tolva::stores {

namespace {

// Shared with the server programs: every program that reads or writes these files uses this table.
constexpr std::array<uint8_t, 16> kSettingsKey = {0x5A, 0x13, 0xC7, 0x2E, 0x91, 0x4B, 0xE8, 0x06,
                                                  0x7D, 0xB2, 0x39, 0xF4, 0x60, 0xAD, 0x1F, 0x88};

}  // namespace

void ScrambleBlock(uint8_t* buffer, size_t length, unsigned phase) {
    for (size_t i = 0; i < length; ++i) {
        buffer[i] ^= kSettingsKey[(i + phase) % kSettingsKey.size()];
    }
}

}  // namespace tolva::stores

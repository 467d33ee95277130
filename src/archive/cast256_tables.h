#pragma once
// Constant tables of the CAST-256 cipher; private to the archive library.

#include <cstdint>

namespace tolva::archive::detail {

extern const uint32_t kCastS[4][256];

}  // namespace tolva::archive::detail

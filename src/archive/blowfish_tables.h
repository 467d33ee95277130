#pragma once
// Constant tables of the Blowfish cipher; private to the archive library.

#include <cstdint>

namespace tolva::archive::detail {

extern const uint32_t kBlowfishInitialP[18];
extern const uint32_t kBlowfishInitialS[4][256];

}  // namespace tolva::archive::detail

#pragma once
// A PNG file from 8-bit RGB pixels: one IDAT of zlib-compressed rows, each with filter type 0.

#include <cstdint>
#include <string>
#include <vector>

namespace tolva::driver {

// rgb: width * height * 3 bytes, rows from the top. The file's bytes.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgb);

}  // namespace tolva::driver

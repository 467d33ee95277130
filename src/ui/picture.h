#pragma once
// A picture drawn by the program itself: 32-bit pixels, rows from the top.

#include <cstdint>
#include <vector>

namespace tolva::ui {

struct Picture {
    int width = 0;
    int height = 0;
    // 0xAARRGGBB, not premultiplied; width * height entries.
    std::vector<uint32_t> pixels;

    bool Empty() const { return width <= 0 || height <= 0; }
    bool operator==(const Picture&) const = default;
};

}  // namespace tolva::ui

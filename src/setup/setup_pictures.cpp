#include "setup/setup_pictures.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tolva::setup {
namespace {

constexpr uint32_t kTransparent = 0x00000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kDeepBlue = 0xFF0B3D91;
constexpr uint32_t kLightBlue = 0xFF3A7BD5;
constexpr uint32_t kPaleBlue = 0xFFD6E4F7;
constexpr uint32_t kBoxBorder = 0xFF1C5180;
constexpr uint32_t kBoxFill = 0xFFFFFFFF;
constexpr uint32_t kGreyBorder = 0xFF8C8C8C;
constexpr uint32_t kGreyFill = 0xFFE6E6E6;
constexpr uint32_t kTick = 0xFF21A121;
constexpr uint32_t kGreyTick = 0xFF7A7A7A;

class Canvas {
public:
    Canvas(int width, int height, uint32_t background)
        : picture_{width, height,
                   std::vector<uint32_t>(static_cast<size_t>(width * height), background)} {}

    void Set(int x, int y, uint32_t colour) {
        if (x >= 0 && y >= 0 && x < picture_.width && y < picture_.height) {
            picture_.pixels[static_cast<size_t>(y * picture_.width + x)] = colour;
        }
    }
    void Fill(int left, int top, int width, int height, uint32_t colour) {
        for (int y = top; y < top + height; ++y) {
            for (int x = left; x < left + width; ++x) {
                Set(x, y, colour);
            }
        }
    }
    void Frame(int left, int top, int width, int height, uint32_t colour) {
        Fill(left, top, width, 1, colour);
        Fill(left, top + height - 1, width, 1, colour);
        Fill(left, top, 1, height, colour);
        Fill(left + width - 1, top, 1, height, colour);
    }
    // A line of the given thickness from (x0, y0) to (x1, y1).
    void Line(int x0, int y0, int x1, int y1, int thickness, uint32_t colour) {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i) {
            const int x = x0 + (steps == 0 ? 0 : (x1 - x0) * i / steps);
            const int y = y0 + (steps == 0 ? 0 : (y1 - y0) * i / steps);
            Fill(x, y, thickness, thickness, colour);
        }
    }
    // Colours from top to bottom between two colours.
    void VerticalGradient(uint32_t top, uint32_t bottom) {
        for (int y = 0; y < picture_.height; ++y) {
            const uint32_t colour = Blend(top, bottom, y, picture_.height - 1);
            Fill(0, y, picture_.width, 1, colour);
        }
    }
    // An envelope: a frame with the flap's two lines meeting in the middle.
    void Envelope(int left, int top, int width, int height, int thickness, uint32_t paper,
                  uint32_t ink) {
        Fill(left, top, width, height, paper);
        for (int i = 0; i < thickness; ++i) {
            Frame(left + i, top + i, width - 2 * i, height - 2 * i, ink);
        }
        const int middle = left + width / 2;
        const int fold = top + height * 11 / 20;
        Line(left, top, middle - thickness / 2, fold, thickness, ink);
        Line(left + width - thickness, top, middle - thickness / 2, fold, thickness, ink);
    }

    ui::Picture Take() { return std::move(picture_); }

private:
    static uint32_t Blend(uint32_t from, uint32_t to, int step, int steps) {
        uint32_t result = 0xFF000000;
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = static_cast<int>((from >> shift) & 0xFF);
            const int b = static_cast<int>((to >> shift) & 0xFF);
            const int mixed = steps == 0 ? a : a + (b - a) * step / steps;
            result |= static_cast<uint32_t>(mixed) << shift;
        }
        return result;
    }

    ui::Picture picture_;
};

// A 13-pixel box centred in the 16-pixel cell.
constexpr int kBoxLeft = 1;
constexpr int kBoxTop = 1;
constexpr int kBoxSize = 13;

ui::Picture CheckBox(uint32_t border, uint32_t fill) {
    Canvas canvas(kCheckStateSize, kCheckStateSize, kTransparent);
    canvas.Fill(kBoxLeft, kBoxTop, kBoxSize, kBoxSize, fill);
    canvas.Frame(kBoxLeft, kBoxTop, kBoxSize, kBoxSize, border);
    return canvas.Take();
}

ui::Picture Ticked(uint32_t border, uint32_t fill, uint32_t tick) {
    Canvas canvas(kCheckStateSize, kCheckStateSize, kTransparent);
    canvas.Fill(kBoxLeft, kBoxTop, kBoxSize, kBoxSize, fill);
    canvas.Frame(kBoxLeft, kBoxTop, kBoxSize, kBoxSize, border);
    canvas.Line(4, 7, 6, 9, 2, tick);
    canvas.Line(6, 9, 10, 4, 2, tick);
    return canvas.Take();
}

}  // namespace

ui::Picture WelcomePicture() {
    Canvas canvas(kWelcomePictureWidth, kWelcomePictureHeight, kDeepBlue);
    canvas.VerticalGradient(kDeepBlue, kLightBlue);
    // Three envelopes rising to the right, the front one largest.
    canvas.Envelope(24, 176, 64, 44, 2, kPaleBlue, kDeepBlue);
    canvas.Envelope(58, 132, 78, 54, 3, kWhite, kDeepBlue);
    canvas.Envelope(34, 60, 96, 66, 3, kWhite, kLightBlue);
    return canvas.Take();
}

ui::Picture Logo() {
    Canvas canvas(kLogoSize, kLogoSize, kTransparent);
    canvas.Fill(2, 2, kLogoSize - 4, kLogoSize - 4, kDeepBlue);
    canvas.Fill(1, 3, 1, kLogoSize - 6, kDeepBlue);
    canvas.Fill(kLogoSize - 2, 3, 1, kLogoSize - 6, kDeepBlue);
    canvas.Fill(3, 1, kLogoSize - 6, 1, kDeepBlue);
    canvas.Fill(3, kLogoSize - 2, kLogoSize - 6, 1, kDeepBlue);
    canvas.Envelope(8, 11, 24, 18, 2, kWhite, kLightBlue);
    return canvas.Take();
}

std::vector<ui::Picture> CheckStatePictures() {
    Canvas partly(kCheckStateSize, kCheckStateSize, kTransparent);
    partly.Fill(kBoxLeft, kBoxTop, kBoxSize, kBoxSize, kBoxFill);
    partly.Frame(kBoxLeft, kBoxTop, kBoxSize, kBoxSize, kBoxBorder);
    partly.Fill(4, 4, 7, 7, kTick);
    return {Ticked(kBoxBorder, kBoxFill, kTick), CheckBox(kBoxBorder, kBoxFill),
            Ticked(kGreyBorder, kGreyFill, kGreyTick), partly.Take()};
}

}  // namespace tolva::setup

#pragma once
// Fonts, brushes and bitmaps the renderer draws with, made once and kept for the display's life.

#include <windows.h>

#include <map>
#include <utility>
#include <vector>

#include "platform/win32/unique_gdi_object.h"
#include "ui/appearance.h"
#include "ui/picture.h"

namespace tolva::ui {

// The colour to draw with; kColourDefault gives the system colour fallback (a COLOR_ index).
COLORREF ColourRef(Colour colour, int fallback);

// A top-down 32-bit bitmap of the picture, premultiplied for AlphaBlend.
platform::UniqueGdiObject PictureBitmap(const Picture& picture);

class GdiResources {
public:
    // Sizes are points at 96 pixels per inch: the forms are laid out in pixels at that density.
    HFONT Font(const FontSpec& font);
    // The brush of a colour; kColourDefault gives the system colour fallback.
    HBRUSH Brush(Colour colour, int fallback);

private:
    std::vector<std::pair<FontSpec, platform::UniqueGdiObject>> fonts_;
    std::map<COLORREF, platform::UniqueGdiObject> brushes_;
};

}  // namespace tolva::ui

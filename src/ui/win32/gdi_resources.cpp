#include "ui/win32/gdi_resources.h"

#include <algorithm>

namespace tolva::ui {

COLORREF ColourRef(Colour colour, int fallback) {
    if (colour == kColourDefault) {
        return ::GetSysColor(fallback);
    }
    if (IsSystemColour(colour)) {
        return ::GetSysColor(static_cast<int>(colour & 0xFF));
    }
    return static_cast<COLORREF>(colour & 0x00FFFFFF);
}

platform::UniqueGdiObject PictureBitmap(const Picture& picture) {
    if (picture.Empty()) {
        return platform::UniqueGdiObject();
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        return platform::UniqueGdiObject();
    }
    auto* out = static_cast<uint32_t*>(bits);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        uint32_t pixel = picture.pixels[i];
        uint32_t alpha = pixel >> 24;
        uint32_t red = ((pixel >> 16) & 0xFF) * alpha / 255;
        uint32_t green = ((pixel >> 8) & 0xFF) * alpha / 255;
        uint32_t blue = (pixel & 0xFF) * alpha / 255;
        out[i] = alpha << 24 | red << 16 | green << 8 | blue;
    }
    return platform::UniqueGdiObject(bitmap);
}

HFONT GdiResources::Font(const FontSpec& font) {
    for (const auto& [spec, handle] : fonts_) {
        if (spec == font) {
            return static_cast<HFONT>(handle.Get());
        }
    }
    LOGFONTW logical = {};
    logical.lfHeight = -::MulDiv(font.size > 0 ? font.size : 8, 96, 72);
    logical.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logical.lfItalic = font.italic ? TRUE : FALSE;
    logical.lfUnderline = font.underline ? TRUE : FALSE;
    logical.lfCharSet = DEFAULT_CHARSET;
    logical.lfQuality = DEFAULT_QUALITY;
    size_t length = std::min<size_t>(font.name.size(), LF_FACESIZE - 1);
    for (size_t i = 0; i < length; ++i) {
        logical.lfFaceName[i] = static_cast<wchar_t>(font.name[i]);
    }
    fonts_.emplace_back(font, platform::UniqueGdiObject(::CreateFontIndirectW(&logical)));
    return static_cast<HFONT>(fonts_.back().second.Get());
}

HBRUSH GdiResources::Brush(Colour colour, int fallback) {
    if (colour == kColourDefault) {
        return ::GetSysColorBrush(fallback);
    }
    if (IsSystemColour(colour)) {
        return ::GetSysColorBrush(static_cast<int>(colour & 0xFF));
    }
    COLORREF ref = ColourRef(colour, fallback);
    auto& brush = brushes_[ref];
    if (!brush.Valid()) {
        brush.Reset(::CreateSolidBrush(ref));
    }
    return static_cast<HBRUSH>(brush.Get());
}

}  // namespace tolva::ui

#pragma once
// Owners of GDI objects (bitmaps, fonts, brushes), each typed by its kind and deleted with
// DeleteObject. An object must not be selected into a device context when its owner goes.

#include <windows.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

template <typename Object>
struct GdiObjectTraits {
    using Handle = Object;
    static Object None() { return nullptr; }
    static bool IsNone(Object h) { return h == nullptr; }
    static void Close(Object h) { ::DeleteObject(h); }
};

using UniqueGdiObject = UniqueOwner<GdiObjectTraits<HGDIOBJ>>;
using UniqueBitmap = UniqueOwner<GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueOwner<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueOwner<GdiObjectTraits<HBRUSH>>;

}  // namespace tolva::platform

#pragma once
// Owner of a GDI object (font, brush, bitmap), deleted with DeleteObject.

#include <windows.h>

#include "platform/unique_owner.h"

namespace tolva::ui {

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return handle == nullptr; }
    static void Close(Handle handle) { ::DeleteObject(handle); }
};
using UniqueGdiObject = platform::UniqueOwner<GdiObjectTraits>;

}  // namespace tolva::ui

#pragma once
// Owner of a device context obtained with GetDC or GetWindowDC, released to the window it came
// from.

#include <windows.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct WindowDc {
    HWND window = nullptr;
    HDC dc = nullptr;
};

struct WindowDcTraits {
    using Handle = WindowDc;
    static WindowDc None() { return {}; }
    static bool IsNone(const WindowDc& h) { return h.dc == nullptr; }
    static void Close(const WindowDc& h) { ::ReleaseDC(h.window, h.dc); }
};

using UniqueWindowDc = UniqueOwner<WindowDcTraits>;

}  // namespace tolva::platform

#pragma once
// Owner of a window this thread created; DestroyWindow must run on that thread.

#include <windows.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct WindowTraits {
    using Handle = HWND;
    static HWND None() { return nullptr; }
    static bool IsNone(HWND h) { return h == nullptr; }
    static void Close(HWND h) { ::DestroyWindow(h); }
};

using UniqueWindow = UniqueOwner<WindowTraits>;

}  // namespace tolva::platform

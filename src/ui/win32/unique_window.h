#pragma once
// Owner of a window, destroyed (with its children) by DestroyWindow.

#include <windows.h>

#include "platform/unique_owner.h"

namespace tolva::ui {

struct WindowTraits {
    using Handle = HWND;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return handle == nullptr; }
    static void Close(Handle handle) { ::DestroyWindow(handle); }
};
using UniqueWindow = platform::UniqueOwner<WindowTraits>;

}  // namespace tolva::ui

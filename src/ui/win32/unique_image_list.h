#pragma once
// Owner of an image list, destroyed with ImageList_Destroy.

#include <windows.h>

#include <commctrl.h>

#include "platform/unique_owner.h"

namespace tolva::ui {

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return handle == nullptr; }
    static void Close(Handle handle) { ::ImageList_Destroy(handle); }
};
using UniqueImageList = platform::UniqueOwner<ImageListTraits>;

}  // namespace tolva::ui

#pragma once
// Owner of an image list of the common controls.

#include <windows.h>

#include <commctrl.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static HIMAGELIST None() { return nullptr; }
    static bool IsNone(HIMAGELIST h) { return h == nullptr; }
    static void Close(HIMAGELIST h) { ::ImageList_Destroy(h); }
};

using UniqueImageList = UniqueOwner<ImageListTraits>;

}  // namespace tolva::platform

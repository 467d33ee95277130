#pragma once
// Owner of an icon or cursor made with CreateIcon, CreateIconIndirect or CopyIcon; icons loaded
// from resources with LoadIcon are shared and never destroyed.

#include <windows.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct IconTraits {
    using Handle = HICON;
    static HICON None() { return nullptr; }
    static bool IsNone(HICON h) { return h == nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};

using UniqueIcon = UniqueOwner<IconTraits>;

}  // namespace tolva::platform

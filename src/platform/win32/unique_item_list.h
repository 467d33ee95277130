#pragma once
// Owner of a shell item list (PIDL) the shell allocated, freed with the shell's allocator.

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct ItemListTraits {
    using Handle = LPITEMIDLIST;
    static LPITEMIDLIST None() { return nullptr; }
    static bool IsNone(LPITEMIDLIST h) { return h == nullptr; }
    static void Close(LPITEMIDLIST h) { ::CoTaskMemFree(h); }
};

using UniqueItemList = UniqueOwner<ItemListTraits>;

}  // namespace tolva::platform

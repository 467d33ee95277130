#pragma once
// Owner of a FindFirstFile search handle.

#include <windows.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct FindHandleTraits {
    using Handle = HANDLE;
    static HANDLE None() { return nullptr; }
    static bool IsNone(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::FindClose(h); }
};

using UniqueFindHandle = UniqueOwner<FindHandleTraits>;

}  // namespace tolva::platform

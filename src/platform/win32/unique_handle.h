#pragma once
// Owner of a kernel object or file handle; both NULL and INVALID_HANDLE_VALUE mean none.

#include <windows.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct HandleTraits {
    using Handle = HANDLE;
    static HANDLE None() { return nullptr; }
    static bool IsNone(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};

using UniqueHandle = UniqueOwner<HandleTraits>;

}  // namespace tolva::platform

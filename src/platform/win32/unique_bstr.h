#pragma once
// Owner of a BSTR made with SysAllocString.

#include <windows.h>

#include <oleauto.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct BstrTraits {
    using Handle = BSTR;
    static BSTR None() { return nullptr; }
    static bool IsNone(BSTR h) { return h == nullptr; }
    static void Close(BSTR h) { ::SysFreeString(h); }
};

using UniqueBstr = UniqueOwner<BstrTraits>;

}  // namespace tolva::platform

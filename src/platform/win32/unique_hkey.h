#pragma once
// Owner of an open registry key.

#include <windows.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct HKeyTraits {
    using Handle = HKEY;
    static HKEY None() { return nullptr; }
    static bool IsNone(HKEY h) { return h == nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};

using UniqueHKey = UniqueOwner<HKeyTraits>;

}  // namespace tolva::platform

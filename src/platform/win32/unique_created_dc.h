#pragma once
// Owner of a device context made with CreateDC or CreateCompatibleDC.

#include <windows.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct CreatedDcTraits {
    using Handle = HDC;
    static HDC None() { return nullptr; }
    static bool IsNone(HDC h) { return h == nullptr; }
    static void Close(HDC h) { ::DeleteDC(h); }
};

using UniqueCreatedDc = UniqueOwner<CreatedDcTraits>;

}  // namespace tolva::platform

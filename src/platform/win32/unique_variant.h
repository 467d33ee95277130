#pragma once
// Owner of what a VARIANT holds (a string, an interface reference, an array), cleared with
// VariantClear. VT_EMPTY holds nothing.

#include <windows.h>

#include <oleauto.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct VariantTraits {
    using Handle = VARIANT;
    static VARIANT None() {
        VARIANT empty;
        ::VariantInit(&empty);
        return empty;
    }
    static bool IsNone(const VARIANT& h) { return h.vt == VT_EMPTY; }
    static void Close(VARIANT h) { ::VariantClear(&h); }
};

using UniqueVariant = UniqueOwner<VariantTraits>;

}  // namespace tolva::platform

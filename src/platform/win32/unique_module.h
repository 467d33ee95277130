#pragma once
// Owner of a library loaded with LoadLibrary.

#include <windows.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct ModuleTraits {
    using Handle = HMODULE;
    static HMODULE None() { return nullptr; }
    static bool IsNone(HMODULE h) { return h == nullptr; }
    static void Close(HMODULE h) { ::FreeLibrary(h); }
};

using UniqueModule = UniqueOwner<ModuleTraits>;

}  // namespace tolva::platform

#pragma once
// Owner of a shared object loaded with dlopen.

#include <dlfcn.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct SharedObjectTraits {
    using Handle = void*;
    static void* None() { return nullptr; }
    static bool IsNone(void* handle) { return handle == nullptr; }
    static void Close(void* handle) { ::dlclose(handle); }
};

using UniqueSharedObject = UniqueOwner<SharedObjectTraits>;

}  // namespace tolva::platform

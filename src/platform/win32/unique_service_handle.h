#pragma once
// Owner of a handle of the service control manager: the manager itself or one service.

#include <windows.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct ServiceHandleTraits {
    using Handle = SC_HANDLE;
    static SC_HANDLE None() { return nullptr; }
    static bool IsNone(SC_HANDLE h) { return h == nullptr; }
    static void Close(SC_HANDLE h) { ::CloseServiceHandle(h); }
};

using UniqueServiceHandle = UniqueOwner<ServiceHandleTraits>;

}  // namespace tolva::platform

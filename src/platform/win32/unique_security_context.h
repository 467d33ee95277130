#pragma once
// Owner of an SSPI security context from InitializeSecurityContext.

#ifndef SECURITY_WIN32
#define SECURITY_WIN32
#endif
#include <windows.h>

#include <security.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct SecurityContextTraits {
    using Handle = CtxtHandle;
    static CtxtHandle None() {
        CtxtHandle none;
        SecInvalidateHandle(&none);
        return none;
    }
    static bool IsNone(const CtxtHandle& h) { return !SecIsValidHandle(&h); }
    static void Close(CtxtHandle h) { ::DeleteSecurityContext(&h); }
};

using UniqueSecurityContext = UniqueOwner<SecurityContextTraits>;

}  // namespace tolva::platform

#pragma once
// Owner of an SSPI credentials handle from AcquireCredentialsHandle.

#ifndef SECURITY_WIN32
#define SECURITY_WIN32
#endif
#include <windows.h>

#include <security.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct CredentialsTraits {
    using Handle = CredHandle;
    static CredHandle None() {
        CredHandle none;
        SecInvalidateHandle(&none);
        return none;
    }
    static bool IsNone(const CredHandle& h) { return !SecIsValidHandle(&h); }
    static void Close(CredHandle h) { ::FreeCredentialsHandle(&h); }
};

using UniqueCredentials = UniqueOwner<CredentialsTraits>;

}  // namespace tolva::platform

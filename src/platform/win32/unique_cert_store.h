#pragma once
// Owner of one reference to a certificate store.

#include <windows.h>

#include <wincrypt.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct CertStoreTraits {
    using Handle = HCERTSTORE;
    static HCERTSTORE None() { return nullptr; }
    static bool IsNone(HCERTSTORE h) { return h == nullptr; }
    static void Close(HCERTSTORE h) { ::CertCloseStore(h, 0); }
};

using UniqueCertStore = UniqueOwner<CertStoreTraits>;

}  // namespace tolva::platform

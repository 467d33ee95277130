#pragma once
// Owner of one reference to a certificate context.

#include <windows.h>

#include <wincrypt.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct CertificateTraits {
    using Handle = PCCERT_CONTEXT;
    static PCCERT_CONTEXT None() { return nullptr; }
    static bool IsNone(PCCERT_CONTEXT h) { return h == nullptr; }
    static void Close(PCCERT_CONTEXT h) { ::CertFreeCertificateContext(h); }
};

using UniqueCertificate = UniqueOwner<CertificateTraits>;

}  // namespace tolva::platform

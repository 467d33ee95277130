#pragma once
// Owner of a certificate chain context from CertGetCertificateChain.

#include <windows.h>

#include <wincrypt.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct CertChainTraits {
    using Handle = PCCERT_CHAIN_CONTEXT;
    static PCCERT_CHAIN_CONTEXT None() { return nullptr; }
    static bool IsNone(PCCERT_CHAIN_CONTEXT h) { return h == nullptr; }
    static void Close(PCCERT_CHAIN_CONTEXT h) { ::CertFreeCertificateChain(h); }
};

using UniqueCertChain = UniqueOwner<CertChainTraits>;

}  // namespace tolva::platform

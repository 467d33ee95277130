// Owners of SSPI handles, certificate contexts, stores and chains: move-assignment releases what
// was held.

#include <gtest/gtest.h>
#include <windows.h>

#include <schannel.h>

#include "platform/win32/unique_cert_chain.h"
#include "platform/win32/unique_cert_store.h"
#include "platform/win32/unique_certificate.h"
#include "platform/win32/unique_credentials.h"
#include "platform/win32/unique_security_context.h"
#include "test_certificate.h"

namespace tolva::platform {
namespace {

using testing::kTestCertificate;

HCERTSTORE MemoryStore() {
    return ::CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr);
}

// True when no reference to the store, nor to a certificate in it, is left but the caller's.
bool CloseStoreLast(HCERTSTORE store) {
    return ::CertCloseStore(store, CERT_CLOSE_STORE_CHECK_FLAG) != FALSE;
}

TEST(Win32CryptoOwnerTest, StoreAndCertificateMoveAssignmentFreeTheHeldReferences) {
    HCERTSTORE store = MemoryStore();
    ASSERT_NE(store, nullptr);
    UniqueCertStore firstStore(::CertDuplicateStore(store));
    UniqueCertStore secondStore(MemoryStore());
    firstStore = std::move(secondStore);
    EXPECT_TRUE(CloseStoreLast(store));

    store = MemoryStore();
    UniqueCertificate certificate;
    ASSERT_TRUE(::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, kTestCertificate,
                                                   sizeof kTestCertificate, CERT_STORE_ADD_ALWAYS,
                                                   certificate.Receive()));
    UniqueCertChain chain;
    CERT_CHAIN_PARA parameters{};
    parameters.cbSize = sizeof parameters;
    ASSERT_TRUE(::CertGetCertificateChain(nullptr, certificate.Get(), nullptr, nullptr, &parameters,
                                          0, nullptr, chain.Receive()));
    UniqueCertChain noChain;
    chain = std::move(noChain);
    EXPECT_FALSE(chain.Valid());
    certificate = UniqueCertificate();
    EXPECT_TRUE(CloseStoreLast(store));
}

TEST(Win32CryptoOwnerTest, SspiHandlesMoveToTheirNewOwner) {
    SCHANNEL_CRED settings{};
    settings.dwVersion = SCHANNEL_CRED_VERSION;
    settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
    UniqueCredentials credentials[2];
    for (UniqueCredentials& owner : credentials) {
        TimeStamp expiry;
        ASSERT_EQ(::AcquireCredentialsHandleW(nullptr, const_cast<wchar_t*>(UNISP_NAME_W),
                                              SECPKG_CRED_OUTBOUND, nullptr, &settings, nullptr,
                                              nullptr, owner.Receive(), &expiry),
                  SEC_E_OK);
    }
    const CredHandle kept = credentials[1].Get();
    credentials[0] = std::move(credentials[1]);
    EXPECT_FALSE(credentials[1].Valid());
    EXPECT_EQ(credentials[0].Get().dwLower, kept.dwLower);

    CredHandle acquired = credentials[0].Get();
    SecBuffer out{0, SECBUFFER_TOKEN, nullptr};
    SecBufferDesc description{SECBUFFER_VERSION, 1, &out};
    unsigned long attributes = 0;
    TimeStamp expiry;
    UniqueSecurityContext context;
    wchar_t target[] = L"localhost";
    ASSERT_EQ(::InitializeSecurityContextW(
                  &acquired, nullptr, target, ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM, 0, 0,
                  nullptr, 0, context.Receive(), &description, &attributes, &expiry),
              SEC_I_CONTINUE_NEEDED);
    ::FreeContextBuffer(out.pvBuffer);
    UniqueSecurityContext moved(std::move(context));
    EXPECT_FALSE(context.Valid());
    EXPECT_TRUE(moved.Valid());
    moved = UniqueSecurityContext();
    EXPECT_FALSE(moved.Valid());
}

}  // namespace
}  // namespace tolva::platform

#include "platform/win32/tls_schannel.h"

#define SECURITY_WIN32
#include <schannel.h>
#include <security.h>
#include <wincrypt.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/win32/unique_cert_chain.h"
#include "platform/win32/unique_cert_store.h"
#include "platform/win32/unique_certificate.h"
#include "platform/win32/unique_credentials.h"
#include "platform/win32/unique_security_context.h"

namespace tolva::platform::win32 {
namespace {

// Mirrors SECURITY_FLAG_IGNORE_UNKNOWN_CA of the HTTPS chain policy.
constexpr DWORD kIgnoreUnknownCa = 0x00000100;
constexpr DWORD kRequestFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                ISC_REQ_CONFIDENTIALITY | ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                                ISC_REQ_EXTENDED_ERROR;
constexpr size_t kReadPiece = 16 * 1024 + 512;
// The content type of a TLS record that carries an alert.
constexpr unsigned char kAlertRecord = 21;

Status Failed(SECURITY_STATUS status, std::string what) {
    return Status::Failure(static_cast<uint32_t>(status), std::move(what));
}

std::wstring Widen(const std::string& text) {
    int n =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

// Credentials for one client session: TLS 1.2, with the peer checked by VerifyPeer, so that a test
// root can take part.
SECURITY_STATUS AcquireCredentials(UniqueCredentials& credentials) {
    SCHANNEL_CRED settings{};
    settings.dwVersion = SCHANNEL_CRED_VERSION;
    settings.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
    settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
    CredHandle acquired;
    TimeStamp expiry;
    SECURITY_STATUS status = ::AcquireCredentialsHandleW(
        nullptr, const_cast<wchar_t*>(UNISP_NAME_W), SECPKG_CRED_OUTBOUND, nullptr, &settings,
        nullptr, nullptr, &acquired, &expiry);
    if (status == SEC_E_OK) {
        credentials.Reset(acquired);
    }
    return status;
}

// The first certificate of a PEM file.
Status LoadPemCertificate(const std::string& file, UniqueCertificate& certificate) {
    std::ifstream in(file, std::ios::binary);
    std::string pem((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        return Status::Failure(error::kFileNotFound, "cannot read " + file);
    }
    DWORD size = 0;
    if (pem.empty() ||
        !::CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()),
                                CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
        return Status::Failure(error::kInvalidParameter, "no certificate in " + file);
    }
    std::string der(size, '\0');
    if (!::CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()),
                                CRYPT_STRING_BASE64HEADER, reinterpret_cast<BYTE*>(der.data()),
                                &size, nullptr, nullptr)) {
        return Status::Failure(::GetLastError(), "bad certificate in " + file);
    }
    certificate.Reset(::CertCreateCertificateContext(
        X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()), size));
    if (!certificate.Valid()) {
        return Status::Failure(::GetLastError(), "bad certificate in " + file);
    }
    return Status::Ok();
}

class SchannelConnection final : public Connection {
public:
    explicit SchannelConnection(SocketHandle socket) : socket_(std::move(socket)) {}

    Status Start(const TlsOptions& options) {
        SECURITY_STATUS status = AcquireCredentials(credentials_);
        if (status != SEC_E_OK) {
            return Failed(status, "TLS credentials");
        }
        std::wstring target = Widen(options.hostName);
        Status handshake = Handshake(target, ::GetTickCount() + options.timeoutMs);
        if (!handshake.ok()) {
            return handshake;
        }
        CtxtHandle context = context_.Get();
        status = ::QueryContextAttributesW(&context, SECPKG_ATTR_STREAM_SIZES, &sizes_);
        if (status != SEC_E_OK) {
            return Failed(status, "TLS stream sizes");
        }
        return VerifyPeer(options, target);
    }

    Status SendAll(const void* data, size_t size) override {
        const char* p = static_cast<const char*>(data);
        std::string record;
        while (size > 0) {
            if (!IsConnected()) {
                return Status::Failure(WSAENOTSOCK, "send on a closed TLS session");
            }
            size_t piece = size < sizes_.cbMaximumMessage ? size : sizes_.cbMaximumMessage;
            record.assign(sizes_.cbHeader + piece + sizes_.cbTrailer, '\0');
            std::memcpy(&record[sizes_.cbHeader], p, piece);
            SecBuffer buffers[4] = {
                {sizes_.cbHeader, SECBUFFER_STREAM_HEADER, &record[0]},
                {static_cast<unsigned long>(piece), SECBUFFER_DATA, &record[sizes_.cbHeader]},
                {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, &record[sizes_.cbHeader + piece]},
                {0, SECBUFFER_EMPTY, nullptr},
            };
            SecBufferDesc description{SECBUFFER_VERSION, 4, buffers};
            CtxtHandle context = context_.Get();
            SECURITY_STATUS status = ::EncryptMessage(&context, 0, &description, 0);
            if (status != SEC_E_OK) {
                broken_ = true;
                return Failed(status, "TLS encrypt");
            }
            Status sent =
                SendAllOn(socket_.Get(), record.data(),
                          buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer);
            if (!sent.ok()) {
                broken_ = true;
                return sent;
            }
            p += piece;
            size -= piece;
        }
        return Status::Ok();
    }

    // Decrypts within the time, so that a record that trickles in cannot make the following
    // Receive wait.
    bool WaitReadable(uint32_t timeoutMs) override {
        if (plainAt_ < plain_.size() || ended_) {
            return true;
        }
        if (!IsConnected()) {
            return false;
        }
        return Fill(::GetTickCount() + timeoutMs).code() != error::kTimeout;
    }

    Status Receive(void* buffer, size_t size, size_t& got) override {
        got = 0;
        if (plainAt_ == plain_.size() && !ended_) {
            if (!IsConnected()) {
                return Status::Failure(WSAENOTSOCK, "receive on a closed TLS session");
            }
            Status filled = Fill(::GetTickCount() + kStallTimeoutMs);
            if (!filled.ok()) {
                broken_ = true;
                return filled;
            }
        }
        if (plainAt_ == plain_.size()) {
            return *ended_;
        }
        got = plain_.size() - plainAt_ < size ? plain_.size() - plainAt_ : size;
        std::memcpy(buffer, plain_.data() + plainAt_, got);
        plainAt_ += got;
        if (plainAt_ == plain_.size()) {
            plain_.clear();
            plainAt_ = 0;
        }
        return Status::Ok();
    }

    bool IsConnected() const override { return socket_.Valid() && !broken_ && !ended_; }

    // No close_notify: the client only closes once the response is complete or abandoned.
    void Close() override { socket_.Reset(); }

private:
    enum class Step { kProduced, kNeedMore, kClosed, kFailed };

    // Decrypts records until plain text is there or the stream ends, reading from the socket up to
    // the deadline (tick count). Only a time-out is returned as a failure, and it changes nothing;
    // the end of the stream is kept in ended_: the close notification is a clean end, the
    // connection closing without it or a bad record a failure.
    Status Fill(DWORD deadline) {
        for (;;) {
            Step step = DecryptRecord();
            if (step == Step::kProduced && plainAt_ < plain_.size()) {
                return Status::Ok();
            }
            if (step == Step::kClosed) {
                ended_ = Status::Ok();
                return Status::Ok();
            }
            if (step == Step::kFailed) {
                ended_ = Failed(SEC_E_DECRYPT_FAILURE, "TLS decrypt");
                return Status::Ok();
            }
            if (step == Step::kNeedMore) {
                Status read = ReadMore(deadline);
                if (read.code() == error::kTimeout) {
                    return read;
                }
                if (!read.ok()) {
                    ended_ = read;
                    return Status::Ok();
                }
                if (peerClosed_) {
                    ended_ = Failed(SEC_E_INCOMPLETE_MESSAGE,
                                    "TLS stream cut off without the close notification");
                    return Status::Ok();
                }
            }
        }
    }

    // Appends what the socket has to the encrypted input, waiting for it up to the deadline (tick
    // count).
    Status ReadMore(DWORD deadline) {
        // Wrap-safe: the difference is what is left while the deadline lies ahead.
        int32_t left = static_cast<int32_t>(deadline - ::GetTickCount());
        if (left <= 0 || !WaitSocket(socket_.Get(), false, static_cast<uint32_t>(left))) {
            return Status::Failure(error::kTimeout, "TLS receive timed out");
        }
        char piece[kReadPiece];
        size_t got = 0;
        Status status = ReceiveOn(socket_.Get(), piece, sizeof piece, got);
        if (!status.ok()) {
            return status;
        }
        if (got == 0) {
            peerClosed_ = true;
        }
        incoming_.append(piece, got);
        return Status::Ok();
    }

    // Decrypts one record of the encrypted input into plain_.
    Step DecryptRecord() {
        if (incoming_.empty()) {
            return Step::kNeedMore;
        }
        SecBuffer buffers[4] = {
            {static_cast<unsigned long>(incoming_.size()), SECBUFFER_DATA, &incoming_[0]},
            {0, SECBUFFER_EMPTY, nullptr},
            {0, SECBUFFER_EMPTY, nullptr},
            {0, SECBUFFER_EMPTY, nullptr},
        };
        SecBufferDesc description{SECBUFFER_VERSION, 4, buffers};
        const bool alert = static_cast<unsigned char>(incoming_[0]) == kAlertRecord;
        CtxtHandle context = context_.Get();
        SECURITY_STATUS status = ::DecryptMessage(&context, &description, 0, nullptr);
        if (status == SEC_E_INCOMPLETE_MESSAGE) {
            return Step::kNeedMore;
        }
        if (status == SEC_I_CONTEXT_EXPIRED) {
            return Step::kClosed;
        }
        if (status != SEC_E_OK) {
            return Step::kFailed;
        }
        std::string extra;
        size_t produced = 0;
        for (const SecBuffer& b : buffers) {
            if (b.BufferType == SECBUFFER_DATA && b.cbBuffer > 0) {
                plain_.append(static_cast<const char*>(b.pvBuffer), b.cbBuffer);
                produced += b.cbBuffer;
            } else if (b.BufferType == SECBUFFER_EXTRA && b.cbBuffer > 0) {
                extra.assign(incoming_.data() + incoming_.size() - b.cbBuffer, b.cbBuffer);
            }
        }
        incoming_ = std::move(extra);
        // Wine's Schannel passes the close notification as an empty alert record instead of
        // SEC_I_CONTEXT_EXPIRED. A fatal alert fails to decrypt, and we never renegotiate, so an
        // alert that decrypts is the peer's orderly close.
        if (alert && produced == 0) {
            return Step::kClosed;
        }
        return Step::kProduced;
    }

    Status SendToken(SecBuffer& token) {
        Status status = Status::Ok();
        if (token.pvBuffer != nullptr) {
            if (token.cbBuffer > 0) {
                status = SendAllOn(socket_.Get(), token.pvBuffer, token.cbBuffer);
            }
            ::FreeContextBuffer(token.pvBuffer);
            token.pvBuffer = nullptr;
        }
        return status;
    }

    // Every round trip counts against the one deadline (tick count).
    Status Handshake(std::wstring& target, DWORD deadline) {
        SecBuffer out{0, SECBUFFER_TOKEN, nullptr};
        SecBufferDesc outDescription{SECBUFFER_VERSION, 1, &out};
        unsigned long attributes = 0;
        TimeStamp expiry;
        CredHandle credentials = credentials_.Get();
        CtxtHandle context;
        SECURITY_STATUS status = ::InitializeSecurityContextW(
            &credentials, nullptr, target.data(), kRequestFlags, 0, 0, nullptr, 0, &context,
            &outDescription, &attributes, &expiry);
        if (status != SEC_I_CONTINUE_NEEDED) {
            return Failed(status, "TLS handshake start");
        }
        context_.Reset(context);
        Status sent = SendToken(out);
        if (!sent.ok()) {
            return sent;
        }
        bool readFirst = true;
        bool declinedClientCertificate = false;
        for (;;) {
            if (readFirst) {
                Status read = ReadMore(deadline);
                if (!read.ok()) {
                    return read;
                }
                if (peerClosed_) {
                    return Failed(SEC_E_INTERNAL_ERROR, "TLS peer closed during the handshake");
                }
            }
            SecBuffer in[2] = {
                {static_cast<unsigned long>(incoming_.size()), SECBUFFER_TOKEN, &incoming_[0]},
                {0, SECBUFFER_EMPTY, nullptr},
            };
            SecBufferDesc inDescription{SECBUFFER_VERSION, 2, in};
            out = SecBuffer{0, SECBUFFER_TOKEN, nullptr};
            status = ::InitializeSecurityContextW(&credentials, &context, target.data(),
                                                  kRequestFlags, 0, 0, &inDescription, 0, nullptr,
                                                  &outDescription, &attributes, &expiry);
            if (status == SEC_E_INCOMPLETE_MESSAGE) {
                readFirst = true;
                continue;
            }
            // Alerts and final flights go out even when the handshake failed.
            sent = SendToken(out);
            if (status == SEC_I_INCOMPLETE_CREDENTIALS && !declinedClientCertificate) {
                // The server asks for a client certificate; the handshake goes on without one.
                declinedClientCertificate = true;
                readFirst = false;
                continue;
            }
            if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED) {
                return Failed(status, "TLS handshake failed");
            }
            if (!sent.ok()) {
                return sent;
            }
            if (in[1].BufferType == SECBUFFER_EXTRA && in[1].cbBuffer > 0) {
                incoming_ = incoming_.substr(incoming_.size() - in[1].cbBuffer);
            } else {
                incoming_.clear();
            }
            if (status == SEC_E_OK) {
                return Status::Ok();
            }
            readFirst = incoming_.empty();
        }
    }

    Status VerifyPeer(const TlsOptions& options, std::wstring& target) {
        CtxtHandle context = context_.Get();
        UniqueCertificate peer;
        SECURITY_STATUS status =
            ::QueryContextAttributesW(&context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, peer.Receive());
        if (status != SEC_E_OK || !peer.Valid()) {
            return Failed(status == SEC_E_OK ? SEC_E_CERT_UNKNOWN : status, "TLS peer certificate");
        }
        UniqueCertificate extraRoot;
        UniqueCertStore extraStore;
        UniqueCertStore collection;
        HCERTSTORE additional = peer.Get()->hCertStore;
        if (!options.extraTrustedRootFile.empty()) {
            Status loaded = LoadPemCertificate(options.extraTrustedRootFile, extraRoot);
            if (!loaded.ok()) {
                return loaded;
            }
            extraStore.Reset(::CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr));
            collection.Reset(::CertOpenStore(CERT_STORE_PROV_COLLECTION, 0, 0, 0, nullptr));
            if (!extraStore.Valid() || !collection.Valid() ||
                !::CertAddCertificateContextToStore(extraStore.Get(), extraRoot.Get(),
                                                    CERT_STORE_ADD_ALWAYS, nullptr) ||
                !::CertAddStoreToCollection(collection.Get(), extraStore.Get(), 0, 0) ||
                !::CertAddStoreToCollection(collection.Get(), peer.Get()->hCertStore, 0, 0)) {
                return Status::Failure(::GetLastError(), "certificate store");
            }
            additional = collection.Get();
        }
        char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
        LPSTR usages[] = {serverAuth};
        CERT_CHAIN_PARA chainParameters{};
        chainParameters.cbSize = sizeof chainParameters;
        chainParameters.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
        chainParameters.RequestedUsage.Usage.cUsageIdentifier = 1;
        chainParameters.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
        UniqueCertChain chain;
        if (!::CertGetCertificateChain(nullptr, peer.Get(), nullptr, additional, &chainParameters,
                                       0, nullptr, chain.Receive())) {
            return Status::Failure(::GetLastError(), "TLS peer chain");
        }
        // The extra root is trusted only as the anchor of this very chain, never in the system.
        DWORD ignore = 0;
        if (extraRoot.Valid() &&
            (chain.Get()->TrustStatus.dwErrorStatus & CERT_TRUST_IS_UNTRUSTED_ROOT) != 0 &&
            chain.Get()->cChain > 0) {
            const CERT_SIMPLE_CHAIN* simple = chain.Get()->rgpChain[0];
            PCCERT_CONTEXT anchor = simple->rgpElement[simple->cElement - 1]->pCertContext;
            if (anchor->cbCertEncoded == extraRoot.Get()->cbCertEncoded &&
                std::memcmp(anchor->pbCertEncoded, extraRoot.Get()->pbCertEncoded,
                            anchor->cbCertEncoded) == 0) {
                ignore = kIgnoreUnknownCa;
            }
        }
        // Every trust error counts, whatever the policy below makes of it (some chain engines
        // pass a partial chain there).
        DWORD tolerated = ignore != 0 ? CERT_TRUST_IS_UNTRUSTED_ROOT : 0;
        if ((chain.Get()->TrustStatus.dwErrorStatus & ~tolerated) != CERT_TRUST_NO_ERROR) {
            char code[16];
            std::snprintf(code, sizeof code, "%08lX", chain.Get()->TrustStatus.dwErrorStatus);
            return Status::Failure(static_cast<uint32_t>(CERT_E_UNTRUSTEDROOT),
                                   "TLS peer chain not trusted (" + std::string(code) + ")");
        }
        HTTPSPolicyCallbackData https{};
        https.cbSize = sizeof https;
        https.dwAuthType = AUTHTYPE_SERVER;
        https.fdwChecks = ignore;
        https.pwszServerName = target.data();
        CERT_CHAIN_POLICY_PARA policy{};
        policy.cbSize = sizeof policy;
        policy.pvExtraPolicyPara = &https;
        CERT_CHAIN_POLICY_STATUS verdict{};
        verdict.cbSize = sizeof verdict;
        if (!::CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain.Get(), &policy,
                                                &verdict)) {
            return Status::Failure(::GetLastError(), "TLS peer policy");
        }
        if (verdict.dwError != 0) {
            return Status::Failure(verdict.dwError, "TLS peer not trusted for " + options.hostName);
        }
        return Status::Ok();
    }

    SocketHandle socket_;
    UniqueCredentials credentials_;
    UniqueSecurityContext context_;
    SecPkgContext_StreamSizes sizes_{};
    std::string incoming_;  // received, not yet decrypted
    std::string plain_;     // decrypted, not yet handed out from plainAt_ on
    size_t plainAt_ = 0;
    bool peerClosed_ = false;
    bool broken_ = false;
    // Set once the stream has ended: ok after the close notification, else the failure.
    std::optional<Status> ended_;
};

}  // namespace

Status StartSchannelClient(SocketHandle socket, const TlsOptions& options,
                           std::unique_ptr<Connection>& secure) {
    secure.reset();
    if (options.hostName.empty()) {
        return Status::Failure(error::kInvalidParameter, "TLS needs the peer's host name");
    }
    auto connection = std::make_unique<SchannelConnection>(std::move(socket));
    Status status = connection->Start(options);
    if (!status.ok()) {
        return status;
    }
    secure = std::move(connection);
    return Status::Ok();
}

}  // namespace tolva::platform::win32

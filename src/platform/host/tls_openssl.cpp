#include "platform/host/tls_openssl.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <optional>
#include <string>

namespace tolva::platform::host {
namespace {

// Failure codes of the TLS layer; OpenSSL has no errno for them.
constexpr uint32_t kTlsHandshakeFailed = 0x80090326;  // SEC_E_ILLEGAL_MESSAGE
constexpr uint32_t kTlsUntrusted = 0x800B0109;        // CERT_E_UNTRUSTEDROOT
constexpr uint32_t kTlsReadWriteFailed = 0x80090330;  // SEC_E_DECRYPT_FAILURE

struct CtxDeleter {
    void operator()(SSL_CTX* p) const { SSL_CTX_free(p); }
};
struct SslDeleter {
    void operator()(SSL* p) const { SSL_free(p); }
};
using CtxPtr = std::unique_ptr<SSL_CTX, CtxDeleter>;
using SslPtr = std::unique_ptr<SSL, SslDeleter>;

std::string OpenSslErrors() {
    std::string text;
    while (unsigned long e = ERR_get_error()) {
        char buffer[256];
        ERR_error_string_n(e, buffer, sizeof buffer);
        if (!text.empty()) {
            text += "; ";
        }
        text += buffer;
    }
    return text;
}

// The socket BIO of OpenSSL writes with write(), which raises SIGPIPE on a reset peer; ours uses
// send() with MSG_NOSIGNAL instead.
int BioWrite(BIO* bio, const char* data, int size) {
    BIO_clear_retry_flags(bio);
    int fd = static_cast<int>(reinterpret_cast<intptr_t>(BIO_get_data(bio)));
    for (;;) {
        ssize_t n = ::send(fd, data, static_cast<size_t>(size), MSG_NOSIGNAL);
        if (n >= 0) {
            return static_cast<int>(n);
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            BIO_set_retry_write(bio);
        }
        return -1;
    }
}

int BioRead(BIO* bio, char* data, int size) {
    BIO_clear_retry_flags(bio);
    int fd = static_cast<int>(reinterpret_cast<intptr_t>(BIO_get_data(bio)));
    for (;;) {
        ssize_t n = ::recv(fd, data, static_cast<size_t>(size), 0);
        if (n >= 0) {
            return static_cast<int>(n);
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            BIO_set_retry_read(bio);
        }
        return -1;
    }
}

long BioCtrl(BIO*, int command, long, void*) {
    return command == BIO_CTRL_FLUSH ? 1 : 0;
}

const BIO_METHOD* SocketBioMethod() {
    static BIO_METHOD* method = [] {
        BIO_METHOD* m = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "tolva socket");
        BIO_meth_set_write(m, BioWrite);
        BIO_meth_set_read(m, BioRead);
        BIO_meth_set_ctrl(m, BioCtrl);
        return m;
    }();
    return method;
}

bool IsIpLiteral(const std::string& host) {
    unsigned char address[16];
    return inet_pton(AF_INET, host.c_str(), address) == 1 ||
           inet_pton(AF_INET6, host.c_str(), address) == 1;
}

class OpenSslConnection final : public Connection {
public:
    OpenSslConnection(SocketHandle socket, CtxPtr ctx, SslPtr ssl)
        : socket_(std::move(socket)), ctx_(std::move(ctx)), ssl_(std::move(ssl)) {}
    ~OpenSslConnection() override { Close(); }

    // Drives one OpenSSL call to completion, waiting on the socket as OpenSSL asks, for at most
    // timeoutMs in all. sslError -1: the time ran out; the call may be made again later.
    template <typename Call>
    int Drive(Call call, int& sslError, uint32_t timeoutMs) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            ERR_clear_error();
            int rc = call();
            if (rc > 0) {
                sslError = SSL_ERROR_NONE;
                return rc;
            }
            sslError = SSL_get_error(ssl_.get(), rc);
            if (sslError != SSL_ERROR_WANT_READ && sslError != SSL_ERROR_WANT_WRITE) {
                return rc;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !PollSocket(socket_.Get(), sslError == SSL_ERROR_WANT_WRITE,
                                                 static_cast<uint32_t>(left.count()))) {
                sslError = -1;
                return -1;
            }
        }
    }

    Status Handshake(uint32_t timeoutMs) {
        int sslError = 0;
        if (Drive([&] { return SSL_connect(ssl_.get()); }, sslError, timeoutMs) > 0) {
            return Status::Ok();
        }
        broken_ = true;
        if (sslError == -1) {
            return Status::Failure(error::kTimeout, "TLS handshake timed out");
        }
        long verify = SSL_get_verify_result(ssl_.get());
        if (verify != X509_V_OK) {
            return Status::Failure(kTlsUntrusted, std::string("TLS peer not trusted: ") +
                                                      X509_verify_cert_error_string(verify));
        }
        return Status::Failure(kTlsHandshakeFailed, "TLS handshake failed: " + OpenSslErrors());
    }

    Status SendAll(const void* data, size_t size) override {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            if (!IsConnected()) {
                return Status::Failure(EBADF, "send on a closed TLS session");
            }
            int piece = size > INT_MAX ? INT_MAX : static_cast<int>(size);
            int sslError = 0;
            int n =
                Drive([&] { return SSL_write(ssl_.get(), p, piece); }, sslError, kStallTimeoutMs);
            if (n <= 0) {
                broken_ = true;
                return sslError == -1 ? Status::Failure(error::kTimeout, "TLS send timed out")
                                      : Status::Failure(kTlsReadWriteFailed,
                                                        "TLS send failed: " + OpenSslErrors());
            }
            p += n;
            size -= static_cast<size_t>(n);
        }
        return Status::Ok();
    }

    // Decrypts the next record within the time, so that a record that trickles in cannot make the
    // following Receive wait.
    bool WaitReadable(uint32_t timeoutMs) override {
        if (plainBegin_ < plainEnd_ || ended_) {
            return true;
        }
        if (!IsConnected()) {
            return false;
        }
        return ReadAhead(timeoutMs).code() != error::kTimeout;
    }

    // Decrypts ahead into a buffer, so that callers taking small pieces do not pay a call into
    // OpenSSL for each.
    Status Receive(void* buffer, size_t size, size_t& got) override {
        got = 0;
        if (plainBegin_ == plainEnd_ && !ended_) {
            if (!IsConnected()) {
                return Status::Failure(EBADF, "receive on a closed TLS session");
            }
            Status read = ReadAhead(kStallTimeoutMs);
            if (read.code() == error::kTimeout) {
                broken_ = true;
                return read;
            }
        }
        if (plainBegin_ == plainEnd_) {
            return *ended_;
        }
        got = std::min(size, plainEnd_ - plainBegin_);
        std::memcpy(buffer, plain_.get() + plainBegin_, got);
        plainBegin_ += got;
        return Status::Ok();
    }

    bool IsConnected() const override { return socket_.Valid() && ssl_ && !broken_ && !ended_; }

    void Close() override {
        if (ssl_ && socket_.Valid() && !broken_ && !ended_) {
            // Best effort close_notify; the peer may already be gone.
            SSL_shutdown(ssl_.get());
        }
        ssl_.reset();
        ctx_.reset();
        socket_.Reset();
    }

private:
    // Fills the empty buffer with the next decrypted bytes, waiting up to timeoutMs. A time-out
    // changes nothing; the end of the stream is kept in ended_: its close notification is a clean
    // end, anything else (the connection closed without it, a bad record) a failure.
    Status ReadAhead(uint32_t timeoutMs) {
        if (!plain_) {
            plain_ = std::make_unique<char[]>(kPlainAhead);
        }
        int sslError = 0;
        int n = Drive([&] { return SSL_read(ssl_.get(), plain_.get(), kPlainAhead); }, sslError,
                      timeoutMs);
        if (n > 0) {
            plainBegin_ = 0;
            plainEnd_ = static_cast<size_t>(n);
            return Status::Ok();
        }
        if (sslError == -1) {
            return Status::Failure(error::kTimeout, "TLS receive timed out");
        }
        if (sslError == SSL_ERROR_ZERO_RETURN) {
            ended_ = Status::Ok();
        } else {
            std::string reason = OpenSslErrors();
            ended_ =
                Status::Failure(kTlsReadWriteFailed, "TLS stream cut off or corrupt" +
                                                         (reason.empty() ? "" : ": " + reason));
        }
        return Status::Ok();
    }

    static constexpr int kPlainAhead = 64 * 1024;

    SocketHandle socket_;
    CtxPtr ctx_;
    SslPtr ssl_;
    bool broken_ = false;
    // Set once the stream has ended: ok after the close notification, else the failure.
    std::optional<Status> ended_;
    std::unique_ptr<char[]> plain_;
    size_t plainBegin_ = 0;
    size_t plainEnd_ = 0;
};

}  // namespace

Status StartOpenSslClient(SocketHandle socket, const TlsOptions& options,
                          std::unique_ptr<Connection>& secure) {
    secure.reset();
    if (options.hostName.empty()) {
        return Status::Failure(error::kInvalidParameter, "TLS needs the peer's host name");
    }
    ERR_clear_error();
    CtxPtr ctx(SSL_CTX_new(TLS_client_method()));
    if (!ctx) {
        return Status::Failure(error::kNotEnoughMemory, "TLS context: " + OpenSslErrors());
    }
    SSL_CTX_set_min_proto_version(ctx.get(), TLS1_2_VERSION);
    SSL_CTX_set_verify(ctx.get(), SSL_VERIFY_PEER, nullptr);
    // Whole socket reads instead of one per record header and body.
    SSL_CTX_set_read_ahead(ctx.get(), 1);
    SSL_CTX_set_default_read_buffer_len(ctx.get(), 64 * 1024);
    if (SSL_CTX_set_default_verify_paths(ctx.get()) != 1) {
        return Status::Failure(kTlsUntrusted, "system trust store: " + OpenSslErrors());
    }
    if (!options.extraTrustedRootFile.empty() &&
        SSL_CTX_load_verify_locations(ctx.get(), options.extraTrustedRootFile.c_str(), nullptr) !=
            1) {
        return Status::Failure(
            error::kFileNotFound,
            "extra trusted root " + options.extraTrustedRootFile + ": " + OpenSslErrors());
    }
    SslPtr ssl(SSL_new(ctx.get()));
    BIO* bio = ssl ? BIO_new(SocketBioMethod()) : nullptr;
    if (bio == nullptr) {
        return Status::Failure(error::kNotEnoughMemory, "TLS session: " + OpenSslErrors());
    }
    BIO_set_data(bio, reinterpret_cast<void*>(static_cast<intptr_t>(socket.Get())));
    BIO_set_init(bio, 1);
    SSL_set_bio(ssl.get(), bio, bio);
    if (IsIpLiteral(options.hostName)) {
        if (X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl.get()), options.hostName.c_str()) !=
            1) {
            return Status::Failure(error::kInvalidParameter, "bad address " + options.hostName);
        }
    } else if (SSL_set1_host(ssl.get(), options.hostName.c_str()) != 1 ||
               SSL_set_tlsext_host_name(ssl.get(), options.hostName.c_str()) != 1) {
        return Status::Failure(error::kInvalidParameter, "bad host name " + options.hostName);
    }
    auto connection =
        std::make_unique<OpenSslConnection>(std::move(socket), std::move(ctx), std::move(ssl));
    Status status = connection->Handshake(options.timeoutMs);
    if (!status.ok()) {
        return status;
    }
    secure = std::move(connection);
    return Status::Ok();
}

}  // namespace tolva::platform::host

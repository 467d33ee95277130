#include "net/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <thread>

namespace tolva::testing {
namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string Trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) {
        ++b;
    }
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) {
        --e;
    }
    return std::string(text.substr(b, e - b));
}

// Reads and writes one connection, plain or TLS, with blocking calls.
class Stream {
public:
    Stream(int socket, SSL* ssl) : socket_(socket), ssl_(ssl) {}
    ~Stream() {
        if (ssl_ != nullptr) {
            if (notifyClose_) {
                SSL_shutdown(ssl_);
                trickleMs_ = 0;
                SendEncrypted();
            }
            SSL_free(ssl_);
        }
        ::close(socket_);
    }
    void SkipCloseNotify() { notifyClose_ = false; }
    // From now on TLS records are collected in memory and sent byte by byte.
    void Trickle(uint32_t pauseMs) {
        if (ssl_ != nullptr && pauseMs > 0) {
            collected_ = BIO_new(BIO_s_mem());
            SSL_set0_wbio(ssl_, collected_);
            trickleMs_ = pauseMs;
        }
    }
    long Read(char* buffer, size_t size) {
        if (ssl_ != nullptr) {
            return SSL_read(ssl_, buffer, static_cast<int>(size));
        }
        return ::recv(socket_, buffer, size, 0);
    }
    bool Write(const char* data, size_t size) {
        while (size > 0) {
            long n = ssl_ != nullptr ? SSL_write(ssl_, data, static_cast<int>(size))
                                     : ::send(socket_, data, size, MSG_NOSIGNAL);
            if (n <= 0) {
                return false;
            }
            data += n;
            size -= static_cast<size_t>(n);
        }
        return SendEncrypted();
    }

private:
    bool SendEncrypted() {
        char byte;
        while (collected_ != nullptr && BIO_read(collected_, &byte, 1) == 1) {
            if (::send(socket_, &byte, 1, MSG_NOSIGNAL) != 1) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(trickleMs_));
        }
        return true;
    }

    int socket_;
    SSL* ssl_;
    bool notifyClose_ = true;
    BIO* collected_ = nullptr;  // owned by ssl_
    uint32_t trickleMs_ = 0;
};

}  // namespace

std::string LoopbackRequest::Header(std::string_view name) const {
    std::string lowerHead = Lower(head);
    std::string key = "\r\n" + Lower(name) + ":";
    size_t at = lowerHead.find(key);
    if (at == std::string::npos) {
        return {};
    }
    size_t start = at + key.size();
    size_t end = head.find("\r\n", start);
    return Trim(std::string_view(head).substr(start, end - start));
}

LoopbackReply LoopbackReply::Split(std::string_view bytes, size_t size, uint32_t pauseMs) {
    LoopbackReply reply;
    for (size_t i = 0; i < bytes.size(); i += size) {
        reply.pieces.emplace_back(bytes.substr(i, size));
    }
    reply.pauseMs = pauseMs;
    return reply;
}

LoopbackServer::LoopbackServer(LoopbackOptions options, Handler handler)
    : options_(std::move(options)), handler_(std::move(handler)) {
    // OpenSSL writes with write(): a client that hangs up early must not kill the test program.
    ::signal(SIGPIPE, SIG_IGN);
    if (options_.tls) {
        SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
        if (ctx == nullptr ||
            SSL_CTX_use_certificate_chain_file(ctx, options_.certFile.c_str()) != 1 ||
            SSL_CTX_use_PrivateKey_file(ctx, options_.keyFile.c_str(), SSL_FILETYPE_PEM) != 1) {
            SSL_CTX_free(ctx);
            return;
        }
        if (!options_.clientCaFile.empty()) {
            if (SSL_CTX_load_verify_locations(ctx, options_.clientCaFile.c_str(), nullptr) != 1) {
                SSL_CTX_free(ctx);
                return;
            }
            // Without SSL_VERIFY_FAIL_IF_NO_PEER_CERT the certificate is asked for, not required.
            SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
            // Verifying peers resume sessions only within a named context; without one a client's
            // resumption attempt ends in an internal error alert.
            static const unsigned char kSessionContext[] = "tolva loopback";
            SSL_CTX_set_session_id_context(ctx, kSessionContext, sizeof kSessionContext - 1);
        }
        tlsContext_ = ctx;
    }
    int family = options_.ipv6 ? AF_INET6 : AF_INET;
    int fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return;
    }
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_storage address{};
    socklen_t length = 0;
    if (options_.ipv6) {
        auto* a6 = reinterpret_cast<sockaddr_in6*>(&address);
        a6->sin6_family = AF_INET6;
        a6->sin6_addr = in6addr_loopback;
        a6->sin6_port = htons(options_.port);
        length = sizeof *a6;
    } else {
        auto* a4 = reinterpret_cast<sockaddr_in*>(&address);
        a4->sin_family = AF_INET;
        a4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a4->sin_port = htons(options_.port);
        length = sizeof *a4;
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return;
    }
    port_ = ntohs(options_.ipv6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                                : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    listener_ = fd;
    thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (listener_ >= 0) {
        ::close(listener_);
    }
    SSL_CTX_free(static_cast<SSL_CTX*>(tlsContext_));
}

std::vector<LoopbackRequest> LoopbackServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

size_t LoopbackServer::RequestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

void LoopbackServer::Serve() {
    while (!stop_) {
        pollfd entry{listener_, POLLIN, 0};
        if (::poll(&entry, 1, 50) <= 0) {
            continue;
        }
        int socket = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket >= 0) {
            Handle(socket);
        }
    }
}

void LoopbackServer::Handle(int socket) {
    int on = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    timeval limit{10, 0};
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    SSL* ssl = nullptr;
    if (tlsContext_ != nullptr) {
        if (options_.handshakeDelayMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(options_.handshakeDelayMs));
        }
        ssl = SSL_new(static_cast<SSL_CTX*>(tlsContext_));
        SSL_set_fd(ssl, socket);
        if (SSL_accept(ssl) != 1) {
            // A client that refused our certificate: nothing to record.
            SSL_free(ssl);
            ::close(socket);
            ERR_clear_error();
            return;
        }
    }
    Stream stream(socket, ssl);
    LoopbackRequest request;
    char buffer[4096];
    while (!options_.speakFirst && request.head.find("\r\n\r\n") == std::string::npos) {
        long n = stream.Read(buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        request.head.append(buffer, static_cast<size_t>(n));
    }
    if (request.head.empty() && !options_.speakFirst) {
        return;
    }
    size_t sp1 = request.head.find(' ');
    size_t sp2 = sp1 == std::string::npos ? sp1 : request.head.find(' ', sp1 + 1);
    if (sp2 != std::string::npos) {
        request.path = request.head.substr(sp1 + 1, sp2 - sp1 - 1);
    }
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    LoopbackReply reply = handler_(request);
    if (reply.closeWithoutNotify) {
        stream.SkipCloseNotify();
    }
    stream.Trickle(reply.tlsTrickleMs);
    if (reply.delayMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(reply.delayMs));
    }
    for (size_t i = 0; i < reply.pieces.size(); ++i) {
        if (i > 0 && reply.pauseMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(reply.pauseMs));
        }
        if (!stream.Write(reply.pieces[i].data(), reply.pieces[i].size())) {
            return;
        }
    }
    if (reply.bulk) {
        constexpr size_t kWrite = 256 * 1024;
        for (size_t at = 0; at < reply.bulk->size(); at += kWrite) {
            if (!stream.Write(reply.bulk->data() + at, std::min(kWrite, reply.bulk->size() - at))) {
                return;
            }
        }
    }
}

std::string TestCaFile() {
    return TOLVA_TEST_CERT_DIR "/ca.pem";
}
std::string TestServerCertFile() {
    return TOLVA_TEST_CERT_DIR "/server.pem";
}
std::string TestServerKeyFile() {
    return TOLVA_TEST_CERT_DIR "/server.key";
}

}  // namespace tolva::testing

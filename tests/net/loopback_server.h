#pragma once
// A loopback HTTP/1.1 peer for tests, plain or TLS, driven by a handler that scripts each reply:
// the bytes to send in which pieces, and whether to close early. One request per connection.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tolva::testing {

struct LoopbackRequest {
    std::string head;  // everything up to and including the blank line
    std::string path;  // the request line's target
    // The value of the first header of that name (case-insensitive), trimmed; empty when absent.
    std::string Header(std::string_view name) const;
};

struct LoopbackReply {
    // Sent one by one, each in its own write, with pauseMs before every piece but the first.
    std::vector<std::string> pieces;
    uint32_t pauseMs = 0;
    // Sent after the pieces in large writes (for bulk transfers).
    std::shared_ptr<const std::string> bulk;
    // Wait before sending anything.
    uint32_t delayMs = 0;
    // TLS: end by closing the connection without the close notification, as a cut-off stream does.
    bool closeWithoutNotify = false;
    // TLS: the encrypted stream goes out one byte at a time with this pause after each, so that
    // every record takes long to arrive whole.
    uint32_t tlsTrickleMs = 0;

    static LoopbackReply Of(std::string bytes) { return LoopbackReply{{std::move(bytes)}}; }
    // The whole text cut into pieces of `size` bytes.
    static LoopbackReply Split(std::string_view bytes, size_t size, uint32_t pauseMs = 0);
};

struct LoopbackOptions {
    bool tls = false;
    bool ipv6 = false;              // listen on ::1 instead of 127.0.0.1
    std::string certFile, keyFile;  // PEM, for TLS
    uint16_t port = 0;              // 0: any free port
    // Reply at once after accepting, without reading a request (a peer that speaks first).
    bool speakFirst = false;
    // TLS: asks the client for a certificate from this CA (PEM), and serves a client without one.
    std::string clientCaFile;
    // TLS: wait this long before answering the client's handshake.
    uint32_t handshakeDelayMs = 0;
};

class LoopbackServer {
public:
    using Handler = std::function<LoopbackReply(const LoopbackRequest&)>;

    LoopbackServer(LoopbackOptions options, Handler handler);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // False when the socket could not be opened or the certificate not loaded.
    bool ok() const { return listener_ >= 0; }
    uint16_t port() const { return port_; }
    std::vector<LoopbackRequest> Requests() const;
    size_t RequestCount() const;

private:
    void Serve();
    void Handle(int socket);

    LoopbackOptions options_;
    Handler handler_;
    int listener_ = -1;
    uint16_t port_ = 0;
    void* tlsContext_ = nullptr;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<LoopbackRequest> requests_;
    std::thread thread_;
};

// Paths of the test CA and the server certificate made by the build.
std::string TestCaFile();
std::string TestServerCertFile();
std::string TestServerKeyFile();

}  // namespace tolva::testing

#pragma once
// TCP connections and TLS client sessions on them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tolva::platform {

// A connected stream: a plain TCP socket, or a TLS session over one.
class Connection {
public:
    virtual ~Connection() = default;
    virtual Status SendAll(const void* data, size_t size) = 0;
    // Waits until Receive can return without waiting: data is there, or the stream has ended or
    // failed. False when the time ran out or the connection is closed.
    virtual bool WaitReadable(uint32_t timeoutMs) = 0;
    // got 0 with an ok status: the peer ended the stream properly. A TLS stream that ends without
    // the peer's close notification has been cut off: that is a failure.
    virtual Status Receive(void* buffer, size_t size, size_t& got) = 0;
    virtual bool IsConnected() const = 0;
    virtual void Close() = 0;
};

struct TlsOptions {
    // Host name the peer's certificate must carry (also sent as SNI).
    std::string hostName;
    // PEM file of an extra trusted root, for tests only; empty: the system's trusted roots alone.
    std::string extraTrustedRootFile;
    // The longest the handshake may take, all its round trips together.
    uint32_t timeoutMs = 30000;
};

class Network {
public:
    virtual ~Network() = default;
    // host: a name, a dotted IPv4 address or an IPv6 literal (without brackets).
    virtual Status Connect(std::string_view host, uint16_t port, uint32_t timeoutMs,
                           std::unique_ptr<Connection>& connection) = 0;
    // Runs the TLS handshake over a connected socket and verifies the peer; on success the returned
    // connection owns the socket.
    virtual Status StartTls(std::unique_ptr<Connection> plain, const TlsOptions& options,
                            std::unique_ptr<Connection>& secure) = 0;
};

}  // namespace tolva::platform

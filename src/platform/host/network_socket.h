#pragma once
// A TCP socket of the host: its move-only owner and the plain connection over it.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/host/unique_fd.h"
#include "platform/network.h"

namespace tolva::platform::host {

// A socket descriptor and its owner.
using SocketHandle = UniqueFd;

// Waits until the descriptor is readable (POLLIN) or writable; false on time-out or error.
bool PollSocket(int fd, bool forWrite, uint32_t timeoutMs);

// A connected, non-blocking TCP socket. Receiving reads ahead into a buffer, so that callers
// taking small pieces do not pay a system call for each.
class SocketConnection final : public Connection {
public:
    explicit SocketConnection(SocketHandle socket) : socket_(std::move(socket)) {}

    Status SendAll(const void* data, size_t size) override;
    bool WaitReadable(uint32_t timeoutMs) override;
    Status Receive(void* buffer, size_t size, size_t& got) override;
    bool IsConnected() const override;
    void Close() override;

    // True when bytes were received that no caller has taken yet; a TLS session cannot start then.
    bool HasReadAhead() const { return readBegin_ < readEnd_; }
    // Hands the socket to a TLS session, which then owns it.
    SocketHandle TakeSocket() { return std::move(socket_); }

private:
    static constexpr size_t kReadAhead = 64 * 1024;

    SocketHandle socket_;
    bool peerClosed_ = false;
    std::unique_ptr<char[]> readAhead_;
    size_t readBegin_ = 0;
    size_t readEnd_ = 0;
};

// How long a send or a receive may stall before it counts as failed.
inline constexpr uint32_t kStallTimeoutMs = 30000;

}  // namespace tolva::platform::host

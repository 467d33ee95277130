#pragma once
// A Winsock TCP socket: its move-only owner and the plain connection over it.

#include <winsock2.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/network.h"
#include "platform/unique_owner.h"

namespace tolva::platform::win32 {

struct SocketTraits {
    using Handle = SOCKET;
    static SOCKET None() { return INVALID_SOCKET; }
    static bool IsNone(SOCKET socket) { return socket == INVALID_SOCKET; }
    static void Close(SOCKET socket) { ::closesocket(socket); }
};

using SocketHandle = UniqueOwner<SocketTraits>;

// Waits until the socket is readable or writable; false on time-out or error.
bool WaitSocket(SOCKET socket, bool forWrite, uint32_t timeoutMs);

// Sends the whole buffer over a non-blocking socket.
Status SendAllOn(SOCKET socket, const void* data, size_t size);
// Receives up to size bytes, waiting while none are there; got 0: the peer closed.
Status ReceiveOn(SOCKET socket, void* buffer, size_t size, size_t& got);

// Receiving reads ahead into a buffer, so that callers taking small pieces do not pay a system call
// for each.
class WinsockConnection final : public Connection {
public:
    explicit WinsockConnection(SocketHandle socket) : socket_(std::move(socket)) {}

    Status SendAll(const void* data, size_t size) override;
    bool WaitReadable(uint32_t timeoutMs) override;
    Status Receive(void* buffer, size_t size, size_t& got) override;
    bool IsConnected() const override;
    void Close() override;

    // True when bytes were received that no caller has taken yet; a TLS session cannot start then.
    bool HasReadAhead() const { return readBegin_ < readEnd_; }
    SocketHandle TakeSocket() { return std::move(socket_); }

private:
    static constexpr size_t kReadAhead = 64 * 1024;

    SocketHandle socket_;
    bool peerClosed_ = false;
    std::unique_ptr<char[]> readAhead_;
    size_t readBegin_ = 0;
    size_t readEnd_ = 0;
};

inline constexpr uint32_t kStallTimeoutMs = 30000;

}  // namespace tolva::platform::win32

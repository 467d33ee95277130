#include "platform/win32/network_winsock.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace tolva::platform::win32 {

bool WaitSocket(SOCKET socket, bool forWrite, uint32_t timeoutMs) {
    fd_set ready;
    fd_set failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(socket, &ready);
    FD_SET(socket, &failed);
    timeval limit{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    int n = ::select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr, &failed, &limit);
    // An error condition also counts as "ready": the next call reports it.
    return n > 0;
}

Status SendAllOn(SOCKET socket, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        int piece = size > INT_MAX ? INT_MAX : static_cast<int>(size);
        int n = ::send(socket, p, piece, 0);
        if (n > 0) {
            p += n;
            size -= static_cast<size_t>(n);
            continue;
        }
        int code = ::WSAGetLastError();
        if (n == SOCKET_ERROR && code == WSAEWOULDBLOCK) {
            if (!WaitSocket(socket, true, kStallTimeoutMs)) {
                return Status::Failure(error::kTimeout, "send timed out");
            }
            continue;
        }
        return Status::Failure(static_cast<uint32_t>(code), "send failed");
    }
    return Status::Ok();
}

Status ReceiveOn(SOCKET socket, void* buffer, size_t size, size_t& got) {
    got = 0;
    int piece = size > INT_MAX ? INT_MAX : static_cast<int>(size);
    for (;;) {
        int n = ::recv(socket, static_cast<char*>(buffer), piece, 0);
        if (n >= 0) {
            got = static_cast<size_t>(n);
            return Status::Ok();
        }
        int code = ::WSAGetLastError();
        if (code != WSAEWOULDBLOCK) {
            return Status::Failure(static_cast<uint32_t>(code), "receive failed");
        }
        if (!WaitSocket(socket, false, kStallTimeoutMs)) {
            return Status::Failure(error::kTimeout, "receive timed out");
        }
    }
}

Status WinsockConnection::SendAll(const void* data, size_t size) {
    if (!socket_.Valid()) {
        return Status::Failure(WSAENOTSOCK, "send on a closed socket");
    }
    return SendAllOn(socket_.Get(), data, size);
}

bool WinsockConnection::WaitReadable(uint32_t timeoutMs) {
    if (!socket_.Valid()) {
        return false;
    }
    return readBegin_ < readEnd_ || WaitSocket(socket_.Get(), false, timeoutMs);
}

Status WinsockConnection::Receive(void* buffer, size_t size, size_t& got) {
    got = 0;
    if (!socket_.Valid()) {
        return Status::Failure(WSAENOTSOCK, "receive on a closed socket");
    }
    if (readBegin_ == readEnd_) {
        if (!readAhead_) {
            readAhead_ = std::make_unique<char[]>(kReadAhead);
        }
        size_t received = 0;
        Status status = ReceiveOn(socket_.Get(), readAhead_.get(), kReadAhead, received);
        if (!status.ok() || received == 0) {
            peerClosed_ = true;
            return status;
        }
        readBegin_ = 0;
        readEnd_ = received;
    }
    got = std::min(size, readEnd_ - readBegin_);
    std::memcpy(buffer, readAhead_.get() + readBegin_, got);
    readBegin_ += got;
    return Status::Ok();
}

bool WinsockConnection::IsConnected() const {
    return socket_.Valid() && !peerClosed_;
}

void WinsockConnection::Close() {
    socket_.Reset();
}

}  // namespace tolva::platform::win32

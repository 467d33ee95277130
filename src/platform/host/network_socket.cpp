#include "platform/host/network_socket.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace tolva::platform::host {

bool PollSocket(int fd, bool forWrite, uint32_t timeoutMs) {
    pollfd entry{fd, static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
    for (;;) {
        int n = ::poll(&entry, 1, static_cast<int>(timeoutMs));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // A hang-up or error also counts as "ready": the next call reports it.
        return n > 0;
    }
}

Status SocketConnection::SendAll(const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        if (!socket_.Valid()) {
            return Status::Failure(EBADF, "send on a closed socket");
        }
        ssize_t n = ::send(socket_.Get(), p, size, MSG_NOSIGNAL);
        if (n > 0) {
            p += n;
            size -= static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!PollSocket(socket_.Get(), true, kStallTimeoutMs)) {
                return Status::Failure(error::kTimeout, "send timed out");
            }
            continue;
        }
        return Status::Failure(errno, "send failed");
    }
    return Status::Ok();
}

bool SocketConnection::WaitReadable(uint32_t timeoutMs) {
    if (!socket_.Valid()) {
        return false;
    }
    return readBegin_ < readEnd_ || PollSocket(socket_.Get(), false, timeoutMs);
}

Status SocketConnection::Receive(void* buffer, size_t size, size_t& got) {
    got = 0;
    if (!socket_.Valid()) {
        return Status::Failure(EBADF, "receive on a closed socket");
    }
    if (readBegin_ < readEnd_) {
        got = std::min(size, readEnd_ - readBegin_);
        std::memcpy(buffer, readAhead_.get() + readBegin_, got);
        readBegin_ += got;
        return Status::Ok();
    }
    if (!readAhead_) {
        readAhead_ = std::make_unique<char[]>(kReadAhead);
    }
    for (;;) {
        ssize_t n = ::recv(socket_.Get(), readAhead_.get(), kReadAhead, 0);
        if (n > 0) {
            got = std::min(size, static_cast<size_t>(n));
            std::memcpy(buffer, readAhead_.get(), got);
            readBegin_ = got;
            readEnd_ = static_cast<size_t>(n);
            return Status::Ok();
        }
        if (n == 0) {
            peerClosed_ = true;
            return Status::Ok();
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!PollSocket(socket_.Get(), false, kStallTimeoutMs)) {
                return Status::Failure(error::kTimeout, "receive timed out");
            }
            continue;
        }
        peerClosed_ = true;
        return Status::Failure(errno, "receive failed");
    }
}

bool SocketConnection::IsConnected() const {
    return socket_.Valid() && !peerClosed_;
}

void SocketConnection::Close() {
    socket_.Reset();
}

}  // namespace tolva::platform::host

#include "platform/host/network_host.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <string>

#include "platform/host/network_socket.h"
#include "platform/host/tls_openssl.h"

namespace tolva::platform::host {
namespace {

using Clock = std::chrono::steady_clock;

struct AddressList {
    addrinfo* head = nullptr;
    AddressList() = default;
    AddressList(const AddressList&) = delete;
    AddressList& operator=(const AddressList&) = delete;
    ~AddressList() {
        if (head != nullptr) {
            freeaddrinfo(head);
        }
    }
};

// Connects one address without blocking past the deadline; the socket stays non-blocking.
Status ConnectOne(const addrinfo& address, Clock::time_point deadline, SocketHandle& result) {
    SocketHandle socket(::socket(address.ai_family,
                                 address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                                 address.ai_protocol));
    if (!socket.Valid()) {
        return Status::Failure(errno, "socket failed");
    }
    if (::connect(socket.Get(), address.ai_addr, address.ai_addrlen) != 0) {
        if (errno != EINPROGRESS) {
            return Status::Failure(errno, "connect failed");
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 ||
            !PollSocket(socket.Get(), true, static_cast<uint32_t>(left.count()))) {
            return Status::Failure(error::kTimeout, "connect timed out");
        }
        int socketError = 0;
        socklen_t length = sizeof socketError;
        if (::getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, &socketError, &length) != 0) {
            return Status::Failure(errno, "connect failed");
        }
        if (socketError != 0) {
            return Status::Failure(socketError, "connect failed");
        }
    }
    int on = 1;
    ::setsockopt(socket.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    result = std::move(socket);
    return Status::Ok();
}

}  // namespace

Status HostNetwork::Connect(std::string_view host, uint16_t port, uint32_t timeoutMs,
                            std::unique_ptr<Connection>& connection) {
    connection.reset();
    std::string name(host);
    if (name.empty() || name.find('\0') != std::string::npos) {
        return Status::Failure(error::kInvalidParameter, "no host to connect to");
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    AddressList addresses;
    std::string service = std::to_string(port);
    int rc = ::getaddrinfo(name.c_str(), service.c_str(), &hints, &addresses.head);
    if (rc != 0) {
        return Status::Failure(rc == EAI_SYSTEM ? errno : error::kInvalidParameter,
                               "cannot resolve " + name + ": " + gai_strerror(rc));
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Status last = Status::Failure(error::kInvalidParameter, "no address for " + name);
    for (const addrinfo* a = addresses.head; a != nullptr; a = a->ai_next) {
        SocketHandle socket;
        last = ConnectOne(*a, deadline, socket);
        if (last.ok()) {
            connection = std::make_unique<SocketConnection>(std::move(socket));
            return Status::Ok();
        }
        if (Clock::now() >= deadline) {
            break;
        }
    }
    return last;
}

Status HostNetwork::StartTls(std::unique_ptr<Connection> plain, const TlsOptions& options,
                             std::unique_ptr<Connection>& secure) {
    secure.reset();
    auto* socket = dynamic_cast<SocketConnection*>(plain.get());
    if (socket == nullptr || !socket->IsConnected() || socket->HasReadAhead()) {
        return Status::Failure(error::kInvalidParameter, "TLS needs a connected socket");
    }
    return StartOpenSslClient(socket->TakeSocket(), options, secure);
}

}  // namespace tolva::platform::host

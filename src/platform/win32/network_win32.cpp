#include "platform/win32/network_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

#include "platform/win32/network_winsock.h"
#include "platform/win32/tls_schannel.h"

namespace tolva::platform::win32 {
namespace {

struct AddressList {
    addrinfo* head = nullptr;
    AddressList() = default;
    AddressList(const AddressList&) = delete;
    AddressList& operator=(const AddressList&) = delete;
    ~AddressList() {
        if (head != nullptr) {
            ::freeaddrinfo(head);
        }
    }
};

Status ConnectOne(const addrinfo& address, DWORD deadline, SocketHandle& result) {
    SocketHandle socket(::socket(address.ai_family, address.ai_socktype, address.ai_protocol));
    if (!socket.Valid()) {
        return Status::Failure(static_cast<uint32_t>(::WSAGetLastError()), "socket failed");
    }
    u_long nonBlocking = 1;
    if (::ioctlsocket(socket.Get(), FIONBIO, &nonBlocking) != 0) {
        return Status::Failure(static_cast<uint32_t>(::WSAGetLastError()), "ioctlsocket failed");
    }
    if (::connect(socket.Get(), address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
        int code = ::WSAGetLastError();
        if (code != WSAEWOULDBLOCK) {
            return Status::Failure(static_cast<uint32_t>(code), "connect failed");
        }
        DWORD now = ::GetTickCount();
        // Wrap-safe: the difference is what is left while the deadline lies ahead.
        int32_t left = static_cast<int32_t>(deadline - now);
        if (left <= 0 || !WaitSocket(socket.Get(), true, static_cast<uint32_t>(left))) {
            return Status::Failure(error::kTimeout, "connect timed out");
        }
        int socketError = 0;
        int length = sizeof socketError;
        if (::getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&socketError),
                         &length) != 0) {
            return Status::Failure(static_cast<uint32_t>(::WSAGetLastError()), "connect failed");
        }
        if (socketError != 0) {
            return Status::Failure(static_cast<uint32_t>(socketError), "connect failed");
        }
    }
    BOOL on = TRUE;
    ::setsockopt(socket.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
                 sizeof on);
    result = std::move(socket);
    return Status::Ok();
}

}  // namespace

Win32Network::Win32Network() {
    WSADATA data;
    started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

Win32Network::~Win32Network() {
    if (started_) {
        ::WSACleanup();
    }
}

Status Win32Network::Connect(std::string_view host, uint16_t port, uint32_t timeoutMs,
                             std::unique_ptr<Connection>& connection) {
    connection.reset();
    if (!started_) {
        return Status::Failure(WSANOTINITIALISED, "Winsock did not start");
    }
    std::string name(host);
    if (name.empty() || name.find('\0') != std::string::npos) {
        return Status::Failure(error::kInvalidParameter, "no host to connect to");
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    AddressList addresses;
    std::string service = std::to_string(port);
    int rc = ::getaddrinfo(name.c_str(), service.c_str(), &hints, &addresses.head);
    if (rc != 0) {
        return Status::Failure(static_cast<uint32_t>(rc), "cannot resolve " + name);
    }
    const DWORD deadline = ::GetTickCount() + timeoutMs;
    Status last = Status::Failure(error::kInvalidParameter, "no address for " + name);
    for (const addrinfo* a = addresses.head; a != nullptr; a = a->ai_next) {
        SocketHandle socket;
        last = ConnectOne(*a, deadline, socket);
        if (last.ok()) {
            connection = std::make_unique<WinsockConnection>(std::move(socket));
            return Status::Ok();
        }
        if (static_cast<int32_t>(deadline - ::GetTickCount()) <= 0) {
            break;
        }
    }
    return last;
}

Status Win32Network::StartTls(std::unique_ptr<Connection> plain, const TlsOptions& options,
                              std::unique_ptr<Connection>& secure) {
    secure.reset();
    auto* socket = dynamic_cast<WinsockConnection*>(plain.get());
    if (socket == nullptr || !socket->IsConnected() || socket->HasReadAhead()) {
        return Status::Failure(error::kInvalidParameter, "TLS needs a connected socket");
    }
    return StartSchannelClient(socket->TakeSocket(), options, secure);
}

}  // namespace tolva::platform::win32

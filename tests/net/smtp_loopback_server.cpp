#include "net/smtp_loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tolva::testing {
namespace {

constexpr int kPollMs = 20;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "smtp loopback server: %s: %s\n", what, std::strerror(errno));
    std::abort();
}

int BoundLoopbackSocket(uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        Fail("socket");
    }
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        Fail("bind");
    }
    return fd;
}

uint16_t LocalPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        Fail("getsockname");
    }
    return ntohs(address.sin_port);
}

// Undoes dot-stuffing: a line that begins with "." loses that first ".".
std::string Unstuff(const std::string& wire) {
    std::string text;
    bool lineStart = true;
    for (size_t i = 0; i < wire.size(); ++i) {
        if (!(lineStart && wire[i] == '.')) {
            text += wire[i];
        }
        lineStart = wire[i] == '\n';
    }
    return text;
}

}  // namespace

uint16_t UnusedLoopbackPort() {
    const int fd = BoundLoopbackSocket(0);
    const uint16_t port = LocalPort(fd);
    ::close(fd);
    return port;
}

SmtpLoopbackServer::SmtpLoopbackServer(SmtpServerScript script, uint16_t port,
                                       std::function<void(std::string_view)> onEvent)
    : script_(std::move(script)), onEvent_(std::move(onEvent)) {
    listener_ = BoundLoopbackSocket(port);
    if (::listen(listener_, 8) != 0) {
        Fail("listen");
    }
    port_ = LocalPort(listener_);
    thread_ = std::thread([this] { Serve(); });
}

SmtpLoopbackServer::~SmtpLoopbackServer() {
    Stop();
}

std::string SmtpLoopbackServer::relay() const {
    return "127.0.0.1:" + std::to_string(port_);
}

std::vector<SmtpSession> SmtpLoopbackServer::Sessions() const {
    std::lock_guard lock(mutex_);
    return sessions_;
}

size_t SmtpLoopbackServer::ConnectionCount() const {
    std::lock_guard lock(mutex_);
    return sessions_.size();
}

void SmtpLoopbackServer::Stop() {
    stopping_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (listener_ >= 0) {
        ::close(listener_);
        listener_ = -1;
    }
}

void SmtpLoopbackServer::Record(size_t session, const std::function<void(SmtpSession&)>& change,
                                std::string_view event) {
    {
        std::lock_guard lock(mutex_);
        change(sessions_[session]);
    }
    if (onEvent_) {
        onEvent_(event);
    }
}

void SmtpLoopbackServer::Serve() {
    while (!stopping_) {
        pollfd wait{listener_, POLLIN, 0};
        if (::poll(&wait, 1, kPollMs) <= 0) {
            continue;
        }
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0) {
            continue;
        }
        ServeClient(client);
        ::close(client);
    }
}

bool SmtpLoopbackServer::SendReply(int client, const std::string& reply) {
    const size_t piece = script_.pieceSize == 0 ? reply.size() : script_.pieceSize;
    for (size_t offset = 0; offset < reply.size(); offset += piece) {
        const size_t size = std::min(piece, reply.size() - offset);
        if (::send(client, reply.data() + offset, size, MSG_NOSIGNAL) !=
            static_cast<ssize_t>(size)) {
            return false;
        }
        if (script_.pieceSize != 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return true;
}

void SmtpLoopbackServer::ServeClient(int client) {
    size_t session = 0;
    {
        std::lock_guard lock(mutex_);
        sessions_.emplace_back();
        session = sessions_.size() - 1;
    }
    if (!SendReply(client, script_.banner)) {
        return;
    }
    std::string input;
    size_t rcptCount = 0;
    bool inData = false;
    char buffer[4096];
    while (!stopping_) {
        // Handle everything complete in the input before reading more.
        if (inData) {
            // The data ends with a line holding a single "."; the wire form keeps its last CR LF.
            const size_t end = input.starts_with(".\r\n") ? 0 : input.find("\r\n.\r\n");
            if (end != std::string::npos) {
                const size_t length = end == 0 ? 0 : end + 2;
                const std::string wire = input.substr(0, length);
                input.erase(0, length + 3);
                inData = false;
                Record(
                    session,
                    [&](SmtpSession& s) {
                        s.wireData.push_back(wire);
                        s.messages.push_back(Unstuff(wire));
                    },
                    wire);
                if (!SendReply(client, script_.accepted)) {
                    return;
                }
                continue;
            }
        } else if (const size_t end = input.find("\r\n"); end != std::string::npos) {
            const std::string line = input.substr(0, end);
            input.erase(0, end + 2);
            Record(
                session, [&](SmtpSession& s) { s.commands.push_back(line); }, line);
            const std::string verb = line.substr(0, 4);
            std::string reply = script_.unknown;
            if (verb == "HELO" || verb == "EHLO") {
                reply = script_.helo;
            } else if (verb == "MAIL") {
                reply = script_.mail;
            } else if (verb == "RCPT") {
                reply = script_.rcpt.empty()
                            ? script_.unknown
                            : script_.rcpt[std::min(rcptCount, script_.rcpt.size() - 1)];
                ++rcptCount;
            } else if (verb == "DATA") {
                reply = script_.data;
                inData = reply.starts_with("354");
            } else if (verb == "QUIT") {
                SendReply(client, script_.quit);
                return;
            }
            if (!SendReply(client, reply)) {
                return;
            }
            continue;
        }
        pollfd wait{client, POLLIN, 0};
        if (::poll(&wait, 1, kPollMs) <= 0) {
            continue;
        }
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) {
            return;
        }
        input.append(buffer, static_cast<size_t>(got));
    }
}

}  // namespace tolva::testing

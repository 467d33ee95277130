// http_loopback_server PORT_FILE: the loopback HTTP peer as a program of its own, for download
// tests whose client runs elsewhere (the Windows build under Wine). It serves a few fixed resources
// on 127.0.0.1 four times over: plain, TLS with the build's test certificate, TLS that asks for an
// optional client certificate, and TLS that answers the handshake only after 4 s. Once all four
// listen it writes "PLAIN_PORT TLS_PORT CLIENT_CERT_PORT LATE_HANDSHAKE_PORT" to PORT_FILE, and
// runs until it is terminated.

#include <cstdio>
#include <memory>
#include <string>

#include "net/loopback_server.h"
#include "net/peer_program.h"

namespace {

using tolva::testing::LoopbackReply;
using tolva::testing::LoopbackRequest;

// 1 MiB whose byte i is (i * 7 + i / 251) mod 256, as the test computes it again.
std::shared_ptr<const std::string> BigBody() {
    auto big = std::make_shared<std::string>(1 << 20, '\0');
    for (size_t i = 0; i < big->size(); ++i) {
        (*big)[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    return big;
}

LoopbackReply Serve(const LoopbackRequest& request) {
    static const std::shared_ptr<const std::string> big = BigBody();
    if (request.path == "/hello.txt") {
        return LoopbackReply::Of(
            "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 20\r\n\r\n"
            "hello from the host\n");
    }
    if (request.path == "/big.bin") {
        LoopbackReply reply = LoopbackReply::Of(
            "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
            std::to_string(big->size()) + "\r\n\r\n");
        reply.bulk = big;
        return reply;
    }
    if (request.path == "/chunked") {
        // Each chunk in a write of its own, one with an extension the client must skip.
        return LoopbackReply{{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n",
                              "5;x=1\r\nhello\r\n", "6\r\n", " world\r\n", "0\r\n\r\n"}};
    }
    if (request.path == "/until-close" || request.path == "/cut-off") {
        // Over TLS, only the first ends with the close notification.
        LoopbackReply reply = LoopbackReply::Of("HTTP/1.1 200 OK\r\n\r\nuntil the end");
        reply.closeWithoutNotify = request.path == "/cut-off";
        return reply;
    }
    if (request.path == "/trickle") {
        // Over TLS, the record takes about 3 s to arrive whole.
        LoopbackReply reply = LoopbackReply::Of("HTTP/1.1 200 OK\r\nContent-Length: 60\r\n\r\n" +
                                                std::string(60, 't'));
        reply.tlsTrickleMs = 25;
        return reply;
    }
    if (request.path == "/redirect") {
        return LoopbackReply::Of(
            "HTTP/1.1 302 Found\r\nLocation: hello.txt\r\nContent-Length: 0\r\n\r\n");
    }
    return LoopbackReply::Of("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PORT_FILE\n", argv[0]);
        return 64;
    }
    using tolva::testing::LoopbackOptions;
    using tolva::testing::LoopbackServer;
    LoopbackOptions tls;
    tls.tls = true;
    tls.certFile = tolva::testing::TestServerCertFile();
    tls.keyFile = tolva::testing::TestServerKeyFile();
    LoopbackOptions asking = tls;
    asking.clientCaFile = tolva::testing::TestCaFile();
    LoopbackOptions late = tls;
    late.handshakeDelayMs = 4000;
    LoopbackServer plainServer({}, Serve);
    LoopbackServer tlsServer(tls, Serve);
    LoopbackServer askingServer(asking, Serve);
    LoopbackServer lateServer(late, Serve);
    if (!plainServer.ok() || !tlsServer.ok() || !askingServer.ok() || !lateServer.ok()) {
        std::fprintf(stderr, "%s: cannot listen, or cannot load %s\n", argv[0],
                     tls.certFile.c_str());
        return 1;
    }
    tolva::testing::PublishPortsAndServe(
        argv[1], std::to_string(plainServer.port()) + " " + std::to_string(tlsServer.port()) + " " +
                     std::to_string(askingServer.port()) + " " + std::to_string(lateServer.port()));
    return 0;
}

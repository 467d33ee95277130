// The host network against real loopback peers, plain and TLS.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "net/loopback_server.h"
#include "platform/host/network_host.h"

namespace tolva {
namespace {

using platform::Connection;
using platform::TlsOptions;
using testing::LoopbackOptions;
using testing::LoopbackReply;
using testing::LoopbackRequest;
using testing::LoopbackServer;

const std::string kRequest = "GET /x HTTP/1.1\r\nHost: h\r\n\r\n";

LoopbackServer::Handler Answer(std::string text, uint32_t delayMs = 0) {
    return [text, delayMs](const LoopbackRequest&) {
        LoopbackReply reply = LoopbackReply::Of(text);
        reply.delayMs = delayMs;
        return reply;
    };
}

// Sends the request and reads until the peer closes.
std::string Exchange(Connection& connection) {
    EXPECT_TRUE(connection.SendAll(kRequest.data(), kRequest.size()).ok());
    std::string answer;
    char buffer[7];
    while (connection.WaitReadable(5000)) {
        size_t got = 0;
        EXPECT_TRUE(connection.Receive(buffer, sizeof buffer, got).ok());
        if (got == 0) {
            break;
        }
        answer.append(buffer, got);
    }
    EXPECT_FALSE(connection.IsConnected());
    return answer;
}

LoopbackOptions TlsServer() {
    LoopbackOptions options;
    options.tls = true;
    options.certFile = testing::TestServerCertFile();
    options.keyFile = testing::TestServerKeyFile();
    return options;
}

TEST(HostNetwork, ExchangesWithPeerOnIpv4AndName) {
    LoopbackServer server({}, Answer("hello there"));
    ASSERT_TRUE(server.ok());
    platform::host::HostNetwork network;
    for (const char* host : {"127.0.0.1", "localhost"}) {
        std::unique_ptr<Connection> connection;
        ASSERT_TRUE(network.Connect(host, server.port(), 5000, connection).ok()) << host;
        ASSERT_TRUE(connection->IsConnected());
        EXPECT_EQ(Exchange(*connection), "hello there") << host;
    }
    ASSERT_EQ(server.RequestCount(), 2u);
    EXPECT_EQ(server.Requests()[0].head, kRequest);
}

TEST(HostNetwork, ConnectsToIpv6Literal) {
    LoopbackOptions options;
    options.ipv6 = true;
    LoopbackServer server(options, Answer("six"));
    if (!server.ok()) {
        GTEST_SKIP() << "no IPv6 loopback here";
    }
    platform::host::HostNetwork network;
    std::unique_ptr<Connection> connection;
    ASSERT_TRUE(network.Connect("::1", server.port(), 5000, connection).ok());
    EXPECT_EQ(Exchange(*connection), "six");
}

TEST(HostNetwork, RefusedAndUnresolvableConnectsFail) {
    uint16_t freePort = 0;
    {
        LoopbackServer probe({}, Answer(""));
        freePort = probe.port();
    }
    platform::host::HostNetwork network;
    std::unique_ptr<Connection> connection;
    EXPECT_FALSE(network.Connect("127.0.0.1", freePort, 2000, connection).ok());
    EXPECT_EQ(connection, nullptr);
    EXPECT_FALSE(network.Connect("no-such-host.invalid", 80, 2000, connection).ok());
    EXPECT_FALSE(network.Connect("", 80, 2000, connection).ok());
}

TEST(HostNetwork, WaitReadableHonoursTimeout) {
    LoopbackServer server({}, Answer("late", 600));
    platform::host::HostNetwork network;
    std::unique_ptr<Connection> connection;
    ASSERT_TRUE(network.Connect("127.0.0.1", server.port(), 5000, connection).ok());
    ASSERT_TRUE(connection->SendAll(kRequest.data(), kRequest.size()).ok());
    EXPECT_FALSE(connection->WaitReadable(100));
    EXPECT_TRUE(connection->WaitReadable(5000));
    connection->Close();
    EXPECT_FALSE(connection->IsConnected());
    size_t got = 0;
    char byte;
    EXPECT_FALSE(connection->Receive(&byte, 1, got).ok());
}

TEST(HostNetwork, TlsVerifiesChainAndName) {
    LoopbackServer server(TlsServer(), Answer("secret"));
    ASSERT_TRUE(server.ok());
    platform::host::HostNetwork network;
    struct Case {
        const char* connectTo;
        const char* name;
        bool withTestCa;
        bool ok;
    } cases[] = {
        {"127.0.0.1", "localhost", true, true},      {"127.0.0.1", "127.0.0.1", true, true},
        {"localhost", "localhost", false, false},     // the test CA is not trusted by default
        {"127.0.0.1", "other.example", true, false},  // name not in the certificate
        {"127.0.0.1", "127.0.0.2", true, false},      // address not in the certificate
    };
    for (const Case& c : cases) {
        std::unique_ptr<Connection> plain, secure;
        ASSERT_TRUE(network.Connect(c.connectTo, server.port(), 5000, plain).ok());
        TlsOptions options;
        options.hostName = c.name;
        if (c.withTestCa) {
            options.extraTrustedRootFile = testing::TestCaFile();
        }
        platform::Status status = network.StartTls(std::move(plain), options, secure);
        EXPECT_EQ(status.ok(), c.ok) << c.name << ": " << status.what();
        if (status.ok()) {
            EXPECT_EQ(Exchange(*secure), "secret");
        } else {
            EXPECT_EQ(secure, nullptr);
        }
    }
}

TEST(HostNetwork, TlsGoesOnWithoutClientCertificateWhenAskedForOne) {
    LoopbackOptions asking = TlsServer();
    asking.clientCaFile = testing::TestCaFile();
    LoopbackServer server(asking, Answer("served"));
    ASSERT_TRUE(server.ok());
    platform::host::HostNetwork network;
    std::unique_ptr<Connection> plain, secure;
    ASSERT_TRUE(network.Connect("127.0.0.1", server.port(), 5000, plain).ok());
    TlsOptions options{"localhost", testing::TestCaFile()};
    platform::Status status = network.StartTls(std::move(plain), options, secure);
    ASSERT_TRUE(status.ok()) << status.what();
    EXPECT_EQ(Exchange(*secure), "served");
}

TEST(HostNetwork, TlsStreamEndsCleanlyOnlyWithCloseNotify) {
    platform::host::HostNetwork network;
    for (bool notify : {true, false}) {
        LoopbackServer server(TlsServer(), [&](const LoopbackRequest&) {
            LoopbackReply reply = LoopbackReply::Of("all");
            reply.closeWithoutNotify = !notify;
            return reply;
        });
        std::unique_ptr<Connection> plain, secure;
        ASSERT_TRUE(network.Connect("127.0.0.1", server.port(), 5000, plain).ok());
        TlsOptions options{"localhost", testing::TestCaFile()};
        ASSERT_TRUE(network.StartTls(std::move(plain), options, secure).ok());
        ASSERT_TRUE(secure->SendAll(kRequest.data(), kRequest.size()).ok());
        std::string answer;
        platform::Status status;
        char buffer[16];
        size_t got = 1;
        while (got > 0 && status.ok() && secure->WaitReadable(5000)) {
            status = secure->Receive(buffer, sizeof buffer, got);
            answer.append(buffer, got);
        }
        EXPECT_EQ(answer, "all") << notify;
        EXPECT_EQ(status.ok(), notify) << status.what();
        EXPECT_FALSE(secure->IsConnected());
    }
}

TEST(HostNetwork, TlsHandshakeHonoursTimeout) {
    LoopbackOptions late = TlsServer();
    late.handshakeDelayMs = 3000;
    LoopbackServer server(late, Answer("late"));
    platform::host::HostNetwork network;
    std::unique_ptr<Connection> plain, secure;
    ASSERT_TRUE(network.Connect("127.0.0.1", server.port(), 5000, plain).ok());
    TlsOptions options{"localhost", testing::TestCaFile(), 300};
    auto start = std::chrono::steady_clock::now();
    platform::Status status = network.StartTls(std::move(plain), options, secure);
    EXPECT_EQ(status.code(), platform::error::kTimeout) << status.what();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
    EXPECT_EQ(secure, nullptr);
}

TEST(HostNetwork, TlsRefusesPlainPeer) {
    LoopbackOptions speaker;
    speaker.speakFirst = true;
    LoopbackServer server(speaker, Answer("220 not a TLS peer\r\n"));
    platform::host::HostNetwork network;
    std::unique_ptr<Connection> plain, secure;
    ASSERT_TRUE(network.Connect("127.0.0.1", server.port(), 5000, plain).ok());
    TlsOptions options{"localhost", testing::TestCaFile()};
    EXPECT_FALSE(network.StartTls(std::move(plain), options, secure).ok());
}

}  // namespace
}  // namespace tolva

// The Windows network and the HTTP client on it, run under Wine against the host's loopback peer
// (started by wine-http-test, which passes its ports and the test CA in the environment).

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "net/http_download.h"
#include "net/test_system.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/memory_file_system.h"
#include "platform/win32/network_win32.h"

namespace tolva {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

class WineHttpTest : public ::testing::Test {
protected:
    void SetUp() override {
        plainPort_ = Env("TOLVA_HTTP_PLAIN_PORT");
        tlsPort_ = Env("TOLVA_HTTP_TLS_PORT");
        ca_ = Env("TOLVA_TEST_CA");
        ASSERT_FALSE(plainPort_.empty() || tlsPort_.empty() || ca_.empty())
            << "run through wine-http-test";
    }

    std::string Download(const std::string& url, bool trustTestCa = true,
                         uint32_t deadlineMs = 60000) {
        net::HttpClientOptions options;
        options.waitMs = 10000;
        options.deadlineMs = deadlineMs;
        if (trustTestCa) {
            options.extraTrustedRootFile = ca_;
        }
        net::HttpClient client(network_, files_, system_, options);
        std::string file = client.HTTPDownload(url, false);
        if (file.empty()) {
            return "<failed>";
        }
        std::string content = files_.files[file];
        files_.files.clear();
        return content;
    }

    static std::string BigPattern() {
        std::string big(1 << 20, '\0');
        for (size_t i = 0; i < big.size(); ++i) {
            big[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
        }
        return big;
    }

    platform::win32::Win32Network network_;
    platform::MemoryFileSystem files_;
    platform::FakeSystem system_ = tolva::testing::TestSystem();
    std::string plainPort_, tlsPort_, ca_;
};

TEST_F(WineHttpTest, PlainConnectionExchangesAndSeesClose) {
    std::unique_ptr<platform::Connection> connection;
    ASSERT_TRUE(
        network_
            .Connect("127.0.0.1", static_cast<uint16_t>(std::stoi(plainPort_)), 5000, connection)
            .ok());
    const std::string request = "GET /hello.txt HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    ASSERT_TRUE(connection->SendAll(request.data(), request.size()).ok());
    std::string answer;
    char buffer[5];
    while (connection->WaitReadable(5000)) {
        size_t got = 0;
        ASSERT_TRUE(connection->Receive(buffer, sizeof buffer, got).ok());
        if (got == 0) {
            break;
        }
        answer.append(buffer, got);
    }
    EXPECT_FALSE(connection->IsConnected());
    EXPECT_NE(answer.find("\r\n\r\nhello from the host\n"), std::string::npos) << answer;

    std::unique_ptr<platform::Connection> refused;
    EXPECT_FALSE(network_.Connect("127.0.0.1", 1, 5000, refused).ok());
}

TEST_F(WineHttpTest, DownloadsOverPlainHttp) {
    std::string base = "http://127.0.0.1:" + plainPort_;
    EXPECT_EQ(Download(base + "/hello.txt"), "hello from the host\n");
    EXPECT_EQ(Download(base + "/chunked"), "hello world");
    EXPECT_EQ(Download(base + "/redirect"), "hello from the host\n");
    EXPECT_EQ(Download(base + "/big.bin"), BigPattern());
    EXPECT_EQ(Download(base + "/missing"), "<failed>");
    // Without TLS there is no close notification: a body read until the end is whole either way.
    EXPECT_EQ(Download(base + "/until-close"), "until the end");
    EXPECT_EQ(Download(base + "/cut-off"), "until the end");
}

TEST_F(WineHttpTest, DownloadsOverVerifiedTls) {
    std::string base = "https://localhost:" + tlsPort_;
    EXPECT_EQ(Download(base + "/hello.txt"), "hello from the host\n");
    EXPECT_EQ(Download(base + "/chunked"), "hello world");
    EXPECT_EQ(Download(base + "/redirect"), "hello from the host\n");
    EXPECT_EQ(Download(base + "/big.bin"), BigPattern());
    EXPECT_EQ(Download(base + "/until-close"), "until the end");
    // A TLS stream that ends without the close notification has been cut off.
    EXPECT_EQ(Download(base + "/cut-off"), "<failed>");
    // The test CA is trusted only when handed over; the prefix itself does not trust it.
    EXPECT_EQ(Download(base + "/hello.txt", false), "<failed>");
    // A server that asks for a client certificate gets none and still serves.
    EXPECT_EQ(Download("https://localhost:" + Env("TOLVA_HTTP_CLIENT_CERT_PORT") + "/hello.txt"),
              "hello from the host\n");
}

TEST_F(WineHttpTest, OneDeadlineCoversHandshakeAndTricklingRecords) {
    for (std::string url :
         {"https://localhost:" + Env("TOLVA_HTTP_LATE_HANDSHAKE_PORT") + "/hello.txt",
          "https://localhost:" + tlsPort_ + "/trickle"}) {
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Download(url, true, 1000), "<failed>") << url;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3000)) << url;
    }
    EXPECT_EQ(Download("https://localhost:" + tlsPort_ + "/trickle"), std::string(60, 't'));
}

TEST_F(WineHttpTest, TlsRefusesWrongName) {
    std::unique_ptr<platform::Connection> plain, secure;
    ASSERT_TRUE(
        network_.Connect("localhost", static_cast<uint16_t>(std::stoi(tlsPort_)), 5000, plain)
            .ok());
    platform::TlsOptions options{"other.example", ca_};
    platform::Status status = network_.StartTls(std::move(plain), options, secure);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(secure, nullptr);

    ASSERT_TRUE(
        network_.Connect("localhost", static_cast<uint16_t>(std::stoi(tlsPort_)), 5000, plain)
            .ok());
    options = platform::TlsOptions{"localhost", ""};
    status = network_.StartTls(std::move(plain), options, secure);
    EXPECT_FALSE(status.ok()) << "trusted without the test CA";
}

}  // namespace
}  // namespace tolva

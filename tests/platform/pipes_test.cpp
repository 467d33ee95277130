#include "platform/pipes.h"

#include <gtest/gtest.h>

#include "test_platform.h"

namespace tolva::platform {
namespace {

class PipesTest : public ::testing::Test {
protected:
    testing::TestPlatform test;
    Pipes& pipes = *test.Services().pipes;
    const std::string path = "\\\\.\\pipe\\TolvaContract" + test.UniqueName();
};

TEST_F(PipesTest, PipeNobodyServesDoesNotOpen) {
    std::unique_ptr<PipeConnection> connection;
    EXPECT_EQ(pipes.Open(path, connection).code(), error::kFileNotFound);
    EXPECT_EQ(connection, nullptr);
    EXPECT_FALSE(pipes.WaitAvailable(path, 100));
}

TEST_F(PipesTest, RequestAndReplyTravelWhole) {
    const std::string request = "0123456789abcdefghij";
    const std::string reply("\x01\x00\x00\x00tail", 8);
    test.ServePipeOnce(path, reply);
    ASSERT_TRUE(pipes.WaitAvailable(path, 5000));

    std::unique_ptr<PipeConnection> connection;
    ASSERT_TRUE(pipes.Open(path, connection).ok());
    size_t written = 0;
    ASSERT_TRUE(connection->Write(request.data(), request.size(), written).ok());
    EXPECT_EQ(written, request.size());

    std::string received(64, '\0');
    size_t got = 0;
    ASSERT_TRUE(connection->Read(received.data(), received.size(), got).ok());
    received.resize(got);
    EXPECT_EQ(received, reply);
    EXPECT_EQ(test.PipeReceived(), request);
    connection.reset();
}

TEST_F(PipesTest, BusyPipeSaysSoAndWaitRunsOut) {
    test.HoldBusyPipe(path);
    std::unique_ptr<PipeConnection> connection;
    EXPECT_EQ(pipes.Open(path, connection).code(), error::kPipeBusy);
    EXPECT_FALSE(pipes.WaitAvailable(path, 100));
}

}  // namespace
}  // namespace tolva::platform

#pragma once
// Named pipes in memory: a test plays the server side. Each connection keeps what the client wrote;
// the server's reply is made from it when the client first reads, and the server closes its end
// once the reply is read. Busy pipes, short writes and failing writes can be scripted.

#include <cstddef>
#include <deque>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "platform/fake/fake_calls.h"
#include "platform/pipes.h"

namespace tolva::platform {

struct FakePipeServer {
    // The reply to what the client wrote on the connection; empty: the server closes at once.
    std::function<std::string(const std::string& written)> reply;
    // The server takes at most this many bytes per write.
    size_t writeLimit = std::numeric_limits<size_t>::max();
    // Every write fails after this many bytes in all.
    size_t failWritesAfter = std::numeric_limits<size_t>::max();
};

struct FakePipeSession {
    std::string pipePath;
    std::string written;
    size_t reads = 0;
    bool open = true;
};

class FakePipes : public Pipes {
public:
    Status Open(std::string_view pipePath, std::unique_ptr<PipeConnection>& connection) override;
    bool WaitAvailable(std::string_view pipePath, uint32_t timeoutMs) override;

    void Serve(std::string pipePath, FakePipeServer server = {});
    void StopServing(std::string_view pipePath);
    // Every instance is taken until a wait frees one (freedByWait) or the test says otherwise.
    void SetBusy(std::string_view pipePath, bool busy, bool freedByWait = false);

    FakeCallLog& Log() { return log_; }
    // Every connection made, in order.
    const std::deque<FakePipeSession>& Sessions() const { return sessions_; }
    // The time limits of every WaitAvailable, in order.
    const std::vector<uint32_t>& Waits() const { return waits_; }

private:
    class Connection;
    struct Pipe {
        std::string path;
        FakePipeServer server;
        bool busy = false;
        bool freedByWait = false;
    };

    Pipe* Find(std::string_view pipePath);

    FakeCallLog log_;
    std::vector<Pipe> pipes_;
    std::deque<FakePipeSession> sessions_;
    std::vector<uint32_t> waits_;
};

}  // namespace tolva::platform

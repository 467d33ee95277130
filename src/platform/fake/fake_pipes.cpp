#include "platform/fake/fake_pipes.h"

#include <algorithm>
#include <cstring>

namespace tolva::platform {

class FakePipes::Connection : public PipeConnection {
public:
    Connection(FakePipeSession& session, FakePipeServer server)
        : session_(session), server_(std::move(server)) {}
    ~Connection() override { session_.open = false; }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Status Write(const void* data, size_t size, size_t& written) override {
        written = 0;
        if (serverClosed_) {
            return Status::Failure(error::kBrokenPipe, "write " + session_.pipePath);
        }
        if (session_.written.size() >= server_.failWritesAfter) {
            return Status::Failure(error::kWriteFault, "write " + session_.pipePath);
        }
        size_t room = server_.failWritesAfter - session_.written.size();
        written = std::min({size, server_.writeLimit, room});
        session_.written.append(static_cast<const char*>(data), written);
        return Status::Ok();
    }

    Status Read(void* buffer, size_t size, size_t& got) override {
        got = 0;
        ++session_.reads;
        if (!replied_) {
            replied_ = true;
            reply_ = server_.reply ? server_.reply(session_.written) : std::string();
        }
        if (reply_.empty()) {
            serverClosed_ = true;
            return Status::Failure(error::kBrokenPipe, "read " + session_.pipePath);
        }
        got = std::min(size, reply_.size());
        std::memcpy(buffer, reply_.data(), got);
        reply_.erase(0, got);
        return Status::Ok();
    }

private:
    FakePipeSession& session_;
    FakePipeServer server_;
    bool replied_ = false;
    bool serverClosed_ = false;
    std::string reply_;
};

Status FakePipes::Open(std::string_view pipePath, std::unique_ptr<PipeConnection>& connection) {
    connection.reset();
    Status status = log_.Record("Open", pipePath);
    if (!status) {
        return status;
    }
    Pipe* pipe = Find(pipePath);
    if (pipe == nullptr) {
        return Status::Failure(error::kFileNotFound, "open " + std::string(pipePath));
    }
    if (pipe->busy) {
        return Status::Failure(error::kPipeBusy, "open " + std::string(pipePath));
    }
    sessions_.push_back(FakePipeSession{pipe->path});
    connection = std::make_unique<Connection>(sessions_.back(), pipe->server);
    return Status::Ok();
}

bool FakePipes::WaitAvailable(std::string_view pipePath, uint32_t timeoutMs) {
    (void)log_.Record("WaitAvailable", pipePath);
    waits_.push_back(timeoutMs);
    Pipe* pipe = Find(pipePath);
    if (pipe == nullptr) {
        return false;
    }
    if (pipe->busy && pipe->freedByWait) {
        pipe->busy = false;
    }
    return !pipe->busy;
}

void FakePipes::Serve(std::string pipePath, FakePipeServer server) {
    StopServing(pipePath);
    pipes_.push_back(Pipe{std::move(pipePath), std::move(server)});
}

void FakePipes::StopServing(std::string_view pipePath) {
    std::erase_if(pipes_, [&](const Pipe& pipe) { return SameName(pipe.path, pipePath); });
}

void FakePipes::SetBusy(std::string_view pipePath, bool busy, bool freedByWait) {
    if (Pipe* pipe = Find(pipePath)) {
        pipe->busy = busy;
        pipe->freedByWait = freedByWait;
    }
}

FakePipes::Pipe* FakePipes::Find(std::string_view pipePath) {
    for (Pipe& pipe : pipes_) {
        if (SameName(pipe.path, pipePath)) {
            return &pipe;
        }
    }
    return nullptr;
}

}  // namespace tolva::platform

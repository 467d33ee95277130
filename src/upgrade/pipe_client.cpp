#include "upgrade/pipe_client.h"

#include <string>

namespace tolva::upgrade {

bool TPipe::WriteAll(std::string_view data) {
    if (connection_ == nullptr) {
        return false;
    }
    while (!data.empty()) {
        size_t written = 0;
        if (!connection_->Write(data.data(), data.size(), written) || written == 0) {
            return false;
        }
        data.remove_prefix(written);
    }
    return true;
}

std::string TPipe::ReadOnce(size_t limit) {
    std::string reply(limit, '\0');
    size_t got = 0;
    if (connection_ == nullptr || !connection_->Read(reply.data(), reply.size(), got)) {
        got = 0;
    }
    reply.resize(got);
    return reply;
}

bool TPipeClient::Connect(platform::Pipes& pipes, std::string_view name, uint32_t busyWaitMs) {
    std::string path = "\\\\.\\pipe\\" + std::string(name);
    platform::Status status = pipes.Open(path, connection_);
    if (status.code() == platform::error::kPipeBusy) {
        (void)pipes.WaitAvailable(path, busyWaitMs);
        status = pipes.Open(path, connection_);
    }
    return status.ok();
}

}  // namespace tolva::upgrade

#pragma once
// The client end of a server program's task pipe: one connection for one message, closed when the
// client goes.

#include <memory>
#include <string>
#include <string_view>

#include "platform/pipes.h"

namespace tolva::upgrade {

// A connected pipe and the exchange over it; every error is swallowed into the result.
class TPipe {
public:
    virtual ~TPipe() = default;
    bool Connected() const { return connection_ != nullptr; }
    // Writes again until everything is out or a write fails or stalls; true when all went.
    bool WriteAll(std::string_view data);
    // One read of up to limit bytes; empty when nothing came.
    std::string ReadOnce(size_t limit);

protected:
    std::unique_ptr<platform::PipeConnection> connection_;
};

class TPipeClient : public TPipe {
public:
    // Opens "\\.\pipe\" + name. When every instance is busy, waits up to busyWaitMs for one to
    // come free and tries once more, whatever the wait said.
    bool Connect(platform::Pipes& pipes, std::string_view name, uint32_t busyWaitMs);
};

}  // namespace tolva::upgrade

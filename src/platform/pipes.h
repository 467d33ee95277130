#pragma once
// Client side of named pipes ("\\.\pipe\" + name).

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tolva::platform {

class Pipes {
public:
    virtual ~Pipes() = default;
    // Waits up to timeoutMs for a free instance when the pipe is busy.
    virtual bool WaitAvailable(std::string_view pipeName, uint32_t timeoutMs) = 0;
    // Opens the pipe, writes the request and reads one reply of up to replyLimit bytes.
    virtual Status Transact(std::string_view pipeName, std::string_view request, size_t replyLimit,
                            std::string& reply) = 0;
};

}  // namespace tolva::platform

#pragma once
// Named pipes through the file API.

#include "platform/pipes.h"

namespace tolva::platform {

class Win32Pipes : public Pipes {
public:
    Status Open(std::string_view pipePath, std::unique_ptr<PipeConnection>& connection) override;
    bool WaitAvailable(std::string_view pipePath, uint32_t timeoutMs) override;
};

}  // namespace tolva::platform

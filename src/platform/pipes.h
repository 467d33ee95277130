#pragma once
// The client side of named pipes: "\\.\pipe\" + the pipe's own name.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/status.h"

namespace tolva::platform {

// One connection to one pipe instance. Closing is destroying.
class PipeConnection {
public:
    virtual ~PipeConnection() = default;
    // One write; written may be less than size.
    virtual Status Write(const void* data, size_t size, size_t& written) = 0;
    // One read of up to size bytes, waiting until the server writes or closes its end;
    // error::kBrokenPipe once the server has closed it.
    virtual Status Read(void* buffer, size_t size, size_t& got) = 0;
};

class Pipes {
public:
    virtual ~Pipes() = default;
    // Opens an existing pipe for reading and writing, unshared. error::kPipeBusy when every
    // instance is taken, error::kFileNotFound when nobody serves the pipe.
    virtual Status Open(std::string_view pipePath, std::unique_ptr<PipeConnection>& connection) = 0;
    // Waits until an instance is free or timeoutMs has passed; false at once when nobody serves it.
    virtual bool WaitAvailable(std::string_view pipePath, uint32_t timeoutMs) = 0;
};

}  // namespace tolva::platform

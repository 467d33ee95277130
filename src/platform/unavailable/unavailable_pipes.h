#pragma once
// Stands in for named pipes where the platform has none.

#include "platform/pipes.h"
#include "platform/unavailable/unavailable_status.h"

namespace tolva::platform {

class UnavailablePipes final : public Pipes {
public:
    // No pipe ever becomes available.
    bool WaitAvailable(std::string_view, uint32_t) override { return false; }
    Status Transact(std::string_view, std::string_view, size_t, std::string&) override {
        return Unavailable("pipes", "Transact");
    }
};

}  // namespace tolva::platform

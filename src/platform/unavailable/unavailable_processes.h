#pragma once
// Stands in for the process list where the platform has none.

#include "platform/processes.h"
#include "platform/unavailable/unavailable_status.h"

namespace tolva::platform {

class UnavailableProcesses final : public Processes {
public:
    Status List(std::vector<ProcessInfo>&) const override { return Fail("List"); }
    Status Terminate(uint32_t, uint32_t) override { return Fail("Terminate"); }
    Status Run(std::string_view, std::string_view, bool, uint32_t&) override { return Fail("Run"); }
    Status LimitToFirstProcessor(bool) override { return Fail("LimitToFirstProcessor"); }

private:
    static Status Fail(const char* call) { return Unavailable("processes", call); }
};

}  // namespace tolva::platform

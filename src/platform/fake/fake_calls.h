#pragma once
// What the fakes of the Windows services record of every call, and the failures a test scripts for
// the calls to come.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tolva::platform {

struct FakeCall {
    std::string operation;  // the method's name: "Start", "Open", "Send"...
    std::string subject;    // what it acted on: a service, window, pipe or process

    bool operator==(const FakeCall&) const = default;
};

class FakeCallLog {
public:
    // Records the call; a failure scripted for it is used up and returned.
    Status Record(std::string_view operation, std::string_view subject);
    // The next call of that operation fails with code and changes nothing; with a subject, the
    // next call on that subject only.
    void FailNext(std::string_view operation, uint32_t code, std::string_view subject = {});

    const std::vector<FakeCall>& Calls() const { return calls_; }
    // The subjects of every recorded call of that operation, in order.
    std::vector<std::string> SubjectsOf(std::string_view operation) const;
    void Clear() { calls_.clear(); }

private:
    struct Failure {
        std::string operation;
        std::string subject;
        uint32_t code = 0;
    };
    std::vector<FakeCall> calls_;
    std::vector<Failure> failures_;
};

// Windows compares these names (services, pipes, executables) without regard to case.
bool SameName(std::string_view a, std::string_view b);

}  // namespace tolva::platform

#pragma once
// How a step ends the installer on a fatal error; the install sequence provides it.

#include <string_view>

namespace tolva::util {

class SetupAbort {
public:
    virtual ~SetupAbort() = default;
    // Shows the message, followed by the details, in the box titled "Error" with an error icon
    // (task-modal); writes "Error: Setup aborted - " and the message alone to the setup log; ends
    // the process as a failed installation (exit code 1603). Only a test's implementation returns.
    virtual void Abort(std::u16string_view message, std::u16string_view details) = 0;
};

}  // namespace tolva::util

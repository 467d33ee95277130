#pragma once
// The answer of a service that this platform does not have: every call fails with kNotSupported
// and names the service, so that nothing quietly passes for done.

#include <string>

#include "platform/status.h"

namespace tolva::platform {

inline Status Unavailable(const char* service, const char* call) {
    return Status::Failure(error::kNotSupported,
                           std::string(service) + " is not available on this platform: " + call);
}

}  // namespace tolva::platform

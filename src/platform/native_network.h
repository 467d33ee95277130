#pragma once
// The machine's own network, for bundles that are otherwise built from parts of another platform:
// POSIX sockets and OpenSSL on Linux, Winsock and Schannel on Windows.

#include <memory>

#include "platform/network.h"

namespace tolva::platform {

std::unique_ptr<Network> MakeNativeNetwork();

}  // namespace tolva::platform

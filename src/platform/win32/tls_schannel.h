#pragma once
// TLS client sessions through Schannel (SSPI), one credentials handle per session.

#include <memory>

#include "platform/network.h"
#include "platform/win32/network_winsock.h"

namespace tolva::platform::win32 {

// Runs the handshake on a connected non-blocking socket, then verifies the peer's chain against
// the system's trusted roots (or the extra root of the options, when the chain ends there) and its
// name against options.hostName.
Status StartSchannelClient(SocketHandle socket, const TlsOptions& options,
                           std::unique_ptr<Connection>& secure);

}  // namespace tolva::platform::win32

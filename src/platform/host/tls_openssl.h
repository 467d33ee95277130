#pragma once
// TLS client sessions through OpenSSL, one context per session.

#include <memory>

#include "platform/host/network_socket.h"
#include "platform/network.h"

namespace tolva::platform::host {

// Runs the handshake on a connected non-blocking socket and verifies the peer's chain against the
// system's trusted roots (plus the extra root of the options) and its name against
// options.hostName.
Status StartOpenSslClient(SocketHandle socket, const TlsOptions& options,
                          std::unique_ptr<Connection>& secure);

}  // namespace tolva::platform::host

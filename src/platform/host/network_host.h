#pragma once
// The host's network: POSIX sockets, with TLS client sessions through OpenSSL.

#include "platform/network.h"

namespace tolva::platform::host {

class HostNetwork final : public Network {
public:
    Status Connect(std::string_view host, uint16_t port, uint32_t timeoutMs,
                   std::unique_ptr<Connection>& connection) override;
    Status StartTls(std::unique_ptr<Connection> plain, const TlsOptions& options,
                    std::unique_ptr<Connection>& secure) override;
};

}  // namespace tolva::platform::host

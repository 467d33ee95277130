#pragma once
// The Windows network: Winsock, with TLS client sessions through Schannel.

#include "platform/network.h"

namespace tolva::platform::win32 {

class Win32Network final : public Network {
public:
    Win32Network();
    ~Win32Network() override;
    Win32Network(const Win32Network&) = delete;
    Win32Network& operator=(const Win32Network&) = delete;

    Status Connect(std::string_view host, uint16_t port, uint32_t timeoutMs,
                   std::unique_ptr<Connection>& connection) override;
    Status StartTls(std::unique_ptr<Connection> plain, const TlsOptions& options,
                    std::unique_ptr<Connection>& secure) override;

private:
    bool started_ = false;
};

}  // namespace tolva::platform::win32

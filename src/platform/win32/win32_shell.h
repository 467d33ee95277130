#pragma once
// The Windows shell: special folders through the shell's item lists, links through the shell link
// object (IShellLinkA and IPersistFile), ShellExecuteEx with the verb "open", and the network
// drive calls of the multiple provider router.

#include "platform/shell.h"

namespace tolva::platform {

class Win32Shell : public Shell {
public:
    std::string FolderPath(SpecialFolder folder) const override;
    Status CreateLink(const ShellLink& link) override;
    Status ReadLink(std::string_view linkFile, ShellLink& link) const override;
    Status Open(std::string_view target, std::string_view parameters, ShowCommand show) override;
    // Owned by the active window of this thread.
    Status ShowNetworkConnectionDialog() override;
    Status ConnectNetworkShare(std::string_view remoteName, std::string_view user,
                               std::string_view password) override;
};

}  // namespace tolva::platform

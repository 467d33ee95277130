#pragma once
// Stands in for the Windows shell where the platform has none.

#include "platform/shell.h"
#include "platform/unavailable/unavailable_status.h"

namespace tolva::platform {

class UnavailableShell final : public Shell {
public:
    // The system has no special folder.
    std::string FolderPath(SpecialFolder) const override { return std::string(); }
    Status CreateLink(const ShellLink&) override { return Fail("CreateLink"); }
    Status ReadLink(std::string_view, ShellLink&) const override { return Fail("ReadLink"); }
    Status Open(std::string_view, std::string_view, ShowCommand) override { return Fail("Open"); }
    Status ShowNetworkConnectionDialog() override { return Fail("ShowNetworkConnectionDialog"); }
    Status ConnectNetworkShare(std::string_view, std::string_view, std::string_view) override {
        return Fail("ConnectNetworkShare");
    }

private:
    static Status Fail(const char* call) { return Unavailable("shell", call); }
};

}  // namespace tolva::platform

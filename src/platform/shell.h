#pragma once
// The Windows shell: special folders, shell links, opening documents.

#include <string>
#include <string_view>

#include "platform/status.h"

namespace tolva::platform {

enum class SpecialFolder {
    kPrograms,
    kCommonPrograms,
    kDesktop,
    kCommonDesktop,
    kAppData,
    kCommonAppData,
    kProgramFiles,
    kQuickLaunch
};

struct ShellLink {
    std::string linkFile;  // full path of the .lnk file
    std::string target;    // program or document
    std::string arguments;
    std::string workingFolder;
    std::string description;
    std::string iconFile;
    int iconIndex = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // With a trailing backslash; empty when the system has no such folder.
    virtual std::string FolderPath(SpecialFolder folder) const = 0;
    virtual Status CreateLink(const ShellLink& link) = 0;
    // The verb "open" on a file, folder or address.
    virtual Status Open(std::string_view target, std::string_view parameters) = 0;
    virtual Status ShowNetworkConnectionDialog() = 0;
    // Connects a network disk resource without a local drive name; empty user and password use
    // the current logon.
    virtual Status ConnectNetworkShare(std::string_view remoteName, std::string_view user,
                                       std::string_view password) = 0;
};

}  // namespace tolva::platform

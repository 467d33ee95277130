#pragma once
// The Windows shell: special folders, shell links, opening documents, folders and addresses, and
// network drives.

#include <string>
#include <string_view>

#include "platform/show_command.h"
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

// A shell link (".lnk" file). Empty items and an icon without a file are not set in the link, and
// read back empty.
struct ShellLink {
    std::string linkFile;  // full path of the .lnk file
    std::string target;    // program or document
    std::string arguments;
    std::string workingFolder;
    std::string description;
    std::string iconFile;
    int iconIndex = 0;

    bool operator==(const ShellLink&) const = default;
};

class Shell {
public:
    virtual ~Shell() = default;
    // With a trailing backslash; empty when the system has no such folder.
    virtual std::string FolderPath(SpecialFolder folder) const = 0;
    // Writes link.linkFile, replacing an existing file; its folder must exist. A target that does
    // not exist is linked all the same.
    virtual Status CreateLink(const ShellLink& link) = 0;
    // The items a link file holds; link.linkFile is linkFile.
    virtual Status ReadLink(std::string_view linkFile, ShellLink& link) const = 0;
    // The verb "open" on a file, folder or address, its window shown as show says (normally when
    // not given).
    virtual Status Open(std::string_view target, std::string_view parameters,
                        ShowCommand show = ShowCommand::kNormal) = 0;
    // The system's dialog that connects a network drive; error::kCancelled when the user closes
    // it without connecting one.
    virtual Status ShowNetworkConnectionDialog() = 0;
    // Connects a network disk resource without a local drive name; empty user and password use
    // the current logon.
    virtual Status ConnectNetworkShare(std::string_view remoteName, std::string_view user,
                                       std::string_view password) = 0;
};

}  // namespace tolva::platform

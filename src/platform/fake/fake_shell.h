#pragma once
// The shell in memory. Links are files of the file system given (in a text form of their own), so
// they are listed, copied and deleted with the other files; special folders are paths a test sets;
// "open" and the network calls are recorded in the call log.

#include <map>
#include <string>
#include <vector>

#include "platform/fake/fake_calls.h"
#include "platform/file_system.h"
#include "platform/shell.h"

namespace tolva::platform {

struct FakeOpen {
    std::string target;
    std::string parameters;
    ShowCommand show = ShowCommand::kNormal;

    bool operator==(const FakeOpen&) const = default;
};

class FakeShell : public Shell {
public:
    // Starts with the folders of a Windows machine with one user, "Tester", none of them created.
    explicit FakeShell(FileSystem& files);

    std::string FolderPath(SpecialFolder folder) const override;
    // error::kPathNotFound when the link's folder does not exist.
    Status CreateLink(const ShellLink& link) override;
    // error::kFileNotFound for a missing file, error::kInvalidParameter for a file that is not a
    // link.
    Status ReadLink(std::string_view linkFile, ShellLink& link) const override;
    // error::kFileNotFound for a path whose file or folder does not exist; addresses always open.
    Status Open(std::string_view target, std::string_view parameters, ShowCommand show) override;
    Status ShowNetworkConnectionDialog() override;
    Status ConnectNetworkShare(std::string_view remoteName, std::string_view user,
                               std::string_view password) override;

    // With a trailing backslash; empty: the system has no such folder.
    void SetFolderPath(SpecialFolder folder, std::string path);
    // Every special folder path that is set.
    std::vector<std::string> FolderPaths() const;

    FakeCallLog& Log() { return log_; }
    const FakeCallLog& Log() const { return log_; }
    const std::vector<FakeOpen>& Opened() const { return opened_; }

private:
    FileSystem& files_;
    std::map<SpecialFolder, std::string> folders_;
    mutable FakeCallLog log_;
    std::vector<FakeOpen> opened_;
};

}  // namespace tolva::platform

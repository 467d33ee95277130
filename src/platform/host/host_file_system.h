#pragma once
// Real POSIX files behind Windows paths. Windows rules the host would not apply by itself are kept:
// a file without write permission counts as read-only (even for root) and cannot be written,
// replaced or deleted until SetNormalAttributes; a missing file in a missing folder reports
// kPathNotFound, in an existing folder kFileNotFound. Names are case-sensitive, unlike Windows.
// The drives are the root's subfolders named by one letter, all of them fixed.

#include "platform/file_system.h"
#include "platform/host/host_path_map.h"

namespace tolva::platform {

class HostFileSystem : public FileSystem {
public:
    explicit HostFileSystem(HostPathMap paths) : paths_(std::move(paths)) {}

    bool FileExists(std::string_view path) const override;
    bool FolderExists(std::string_view path) const override;
    Status CreateFolders(std::string_view path) override;

    Status ReadWholeFile(std::string_view path, std::string& content) const override;
    Status WriteWholeFile(std::string_view path, std::string_view content) override;
    Status AppendToFile(std::string_view path, std::string_view content) override;

    Status CopyOver(std::string_view from, std::string_view to) override;
    Status MoveTo(std::string_view from, std::string_view to, bool replace) override;
    Status MoveIn(std::string_view from, std::string_view to) override;
    Status RemoveFile(std::string_view path) override;
    Status RemoveEmptyFolder(std::string_view path) override;
    Status SetNormalAttributes(std::string_view path) override;

    Status ListFolder(std::string_view folder, std::vector<FolderEntry>& entries) const override;
    Status ListDrives(std::vector<DriveEntry>& drives) const override;
    Status GetFileSize(std::string_view path, uint64_t& size) const override;
    Status AvailableSpace(std::string_view folder, uint64_t& bytes) const override;
    Status GetFileTime(std::string_view path, FileTime& lastWrite) const override;
    Status GetAttributes(std::string_view path, uint32_t& attributes) const override;

    Status OpenForRead(std::string_view path, std::unique_ptr<InputFile>& file) const override;
    Status OpenForWrite(std::string_view path, std::unique_ptr<OutputFile>& file) override;
    Status OpenForUpdate(std::string_view path, bool create,
                         std::unique_ptr<UpdateFile>& file) override;

private:
    // Maps the path or returns the failure to report for it.
    Status Map(std::string_view path, const char* what, std::string& hostPath) const;
    Status WriteFile(std::string_view path, std::string_view content, int flags, const char* what);

    HostPathMap paths_;
};

}  // namespace tolva::platform

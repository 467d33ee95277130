#pragma once
// Files and folders through the wide Win32 API; ANSI paths are converted with the system code page.

#include "platform/file_system.h"

namespace tolva::platform {

class Win32FileSystem : public FileSystem {
public:
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
};

}  // namespace tolva::platform

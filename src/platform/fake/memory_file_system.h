#pragma once
// Files held in memory under their exact paths. Folders either all exist, or must be created before
// a file can be written into them ("C:\" exists from the start). Switches make writes and moves
// fail, so that callers' failure paths can be driven; every folder creation is recorded.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace tolva::platform {

class MemoryFileSystem : public FileSystem {
public:
    enum class Folders {
        kAlwaysExist,    // every folder exists and writing never fails for want of one
        kMustBeCreated,  // writing into a folder not created (nor "C:\") fails with kPathNotFound
    };

    explicit MemoryFileSystem(Folders folders = Folders::kAlwaysExist);

    bool FileExists(std::string_view path) const override;
    bool FolderExists(std::string_view path) const override;
    Status CreateFolders(std::string_view path) override;

    Status ReadWholeFile(std::string_view path, std::string& content) const override;
    Status WriteWholeFile(std::string_view path, std::string_view content) override;
    Status AppendToFile(std::string_view path, std::string_view content) override;

    // A copy onto itself is refused, as Windows refuses it.
    Status CopyOver(std::string_view from, std::string_view to) override;
    Status MoveTo(std::string_view from, std::string_view to, bool replace) override;
    Status RemoveFile(std::string_view path) override;
    Status RemoveEmptyFolder(std::string_view path) override;
    // Files in memory carry no attributes: always succeeds.
    Status SetNormalAttributes(std::string_view path) override;

    Status ListFolder(std::string_view folder, std::vector<FolderEntry>& entries) const override;
    Status GetFileSize(std::string_view path, uint64_t& size) const override;
    Status GetFileTime(std::string_view path, FileTime& lastWrite) const override;

    // Reads the content the file had when it was opened.
    Status OpenForRead(std::string_view path, std::unique_ptr<InputFile>& file) const override;
    // The file exists, empty, from the moment it is opened; each write appends to it at once.
    Status OpenForWrite(std::string_view path, std::unique_ptr<OutputFile>& file) override;

    // Every folder given to CreateFolders, as it was given.
    const std::vector<std::string>& CreatedFolders() const { return createdFolders_; }

    // The files by exact path; tests put and inspect content here directly.
    std::map<std::string, std::string, std::less<>> files;
    // Whole-file writes, appends, copies and writes to open files fail with kDiskFull; opening a
    // file for writing still succeeds.
    bool failWrites = false;
    // Moves fail with kAccessDenied.
    bool failMoves = false;

private:
    // Ok, or why a file cannot be written at path.
    Status CheckWritable(std::string_view path, const char* what) const;
    // With folders that must be created, false for a bare name without a folder.
    bool ParentFolderExists(std::string_view path) const;

    Folders folderRule_;
    std::set<std::string, std::less<>> folders_{"C:\\"};
    std::vector<std::string> createdFolders_;
};

}  // namespace tolva::platform

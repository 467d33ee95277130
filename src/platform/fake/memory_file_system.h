#pragma once
// Files and folders held in memory, behaving as the Windows file system does where callers can
// tell:
// - names compare without regard to case and keep the spelling they were created with;
// - paths resolve as Windows resolves them: "/" separates too, "." and ".." never climb above the
//   drive, trailing dots and blanks of the last name are dropped, a path without a drive starts
//   at the current folder ("C:\" at first), and a junction on the way leads into its target;
// - read-only files cannot be written, replaced or deleted until their attributes are reset;
// - open files are shared the way the Windows implementation opens them (readers share reading and
//   writing, writers share reading only), and a file held open cannot be moved or deleted;
// - every change stamps the file's last write time from a clock that moves one second per change.
// Folders either all exist, or must be created before a file can be written into them ("C:\" exists
// from the start, and a file put straight into `files` brings its folders with it).
// Files opened here must be destroyed before the file system.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fake/windows_1252.h"
#include "platform/file_system.h"

namespace tolva::platform {

class MemoryFileSystem : public FileSystem {
public:
    enum class Folders {
        kAlwaysExist,    // every folder exists and writing never fails for want of one
        kMustBeCreated,  // writing into a folder not created (nor "C:\") fails with kPathNotFound
    };

    // existing: folders that are there from the start besides "C:\", with their parents.
    explicit MemoryFileSystem(Folders folders = Folders::kAlwaysExist,
                              const std::vector<std::string>& existing = {});
    ~MemoryFileSystem() override;
    MemoryFileSystem(const MemoryFileSystem&) = delete;
    MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

    bool FileExists(std::string_view path) const override;
    bool FolderExists(std::string_view path) const override;
    Status CreateFolders(std::string_view path) override;

    Status ReadWholeFile(std::string_view path, std::string& content) const override;
    Status WriteWholeFile(std::string_view path, std::string_view content) override;
    Status AppendToFile(std::string_view path, std::string_view content) override;

    // A copy onto itself is refused, as Windows refuses it; the copy keeps the source's last write
    // time and attributes.
    Status CopyOver(std::string_view from, std::string_view to) override;
    // Moves files and whole folders; a move to another spelling of the same name renames it.
    Status MoveTo(std::string_view from, std::string_view to, bool replace) override;
    // Permissions are not kept here.
    Status MoveIn(std::string_view from, std::string_view to) override;
    Status RemoveFile(std::string_view path) override;
    Status RemoveEmptyFolder(std::string_view path) override;
    Status SetNormalAttributes(std::string_view path) override;

    // In name order, as NTFS returns them.
    Status ListFolder(std::string_view folder, std::vector<FolderEntry>& entries) const override;
    // "C:\\", the drives added, and the drive of every file and folder there is, fixed unless added
    // otherwise.
    Status ListDrives(std::vector<DriveEntry>& drives) const override;
    Status GetFileSize(std::string_view path, uint64_t& size) const override;
    Status GetFileTime(std::string_view path, FileTime& lastWrite) const override;
    Status GetAttributes(std::string_view path, uint32_t& attributes) const override;
    // What SetAvailableSpace set for the folder's drive; 1 TiB unless set.
    Status AvailableSpace(std::string_view folder, uint64_t& bytes) const override;

    // Reads what the file holds at the time of each read.
    Status OpenForRead(std::string_view path, std::unique_ptr<InputFile>& file) const override;
    // The file exists, empty, from the moment it is opened; each write appends to it at once.
    Status OpenForWrite(std::string_view path, std::unique_ptr<OutputFile>& file) override;
    Status OpenForUpdate(std::string_view path, bool create,
                         std::unique_ptr<UpdateFile>& file) override;

    // Sets the attributes of a file or folder (kReadOnly, kHidden, kSystem, kArchive), as other
    // programs do; kReparsePoint lists a folder as a junction, which callers must not descend into.
    Status SetAttributes(std::string_view path, uint32_t attributes);
    // A drive the machine gains (a network drive connected, a disk put in); its root exists.
    void AddDrive(DriveEntry drive);
    // What AvailableSpace reports for the drive with that letter.
    void SetAvailableSpace(char driveLetter, uint64_t bytes);
    // Makes link a junction to the folder target, as "mklink /J" does: paths below link lead into
    // target, and link itself is a folder that reports kReparsePoint and is removed as a link.
    Status MakeLink(std::string_view link, std::string_view target);
    // The process's current folder, with a trailing backslash.
    const std::string& CurrentFolder() const { return current_; }
    // Fails as SetCurrentDirectory does when the folder does not exist.
    Status SetCurrentFolder(std::string_view folder);
    // The full path that a path stands for: the key of `files`.
    std::string FullPath(std::string_view path) const;

    // Every folder given to CreateFolders, as it was given.
    const std::vector<std::string>& CreatedFolders() const { return createdFolders_; }

    // The files' content by full path; tests put and inspect content here directly.
    std::map<std::string, std::string, CaseInsensitiveLess> files;

private:
    class Input;
    class Writable;

    // What an open handle does and what it lets others do at the same time.
    enum Access : uint32_t { kReading = 1, kWriting = 2, kDeleting = 4 };
    struct OpenHandle {
        std::string path;
        uint32_t access = 0;
        uint32_t share = 0;
    };

    // full, or where the junction at full leads.
    std::string ThroughLink(std::string full) const;
    // full with the spelling its folders were created with.
    std::string Spelled(const std::string& full) const;
    bool IsFile(const std::string& full) const;
    // Created, implied by what lies below it, or "C:\".
    bool IsFolder(const std::string& full) const;
    bool HasEntriesBelow(const std::string& full) const;
    bool ParentExists(const std::string& full) const;
    bool IsReadOnly(const std::string& full) const;
    uint32_t AttributesOf(const std::string& full, bool folder) const;
    // kFileNotFound in an existing folder, kPathNotFound otherwise.
    Status Missing(const std::string& full, const char* what) const;
    // Ok, or why a file cannot be written at full.
    Status CheckWritable(const std::string& full, const char* what) const;
    // Ok, or a sharing violation when an open handle on full (or below it) stands in the way.
    Status CheckSharing(const std::string& full, uint32_t access, uint32_t share,
                        const char* what) const;
    bool OpenBelow(const std::string& full) const;
    uint64_t Open(const std::string& full, uint32_t access, uint32_t share) const;
    void Closed(uint64_t handle) const;
    void Stamp(const std::string& full);
    // Records the folders that hold full, so that they outlive its last file.
    void KeepFolders(const std::string& full);
    // Moves the entry at from, and for a folder everything below it, to the name to.
    void Rename(const std::string& from, const std::string& to);

    Folders folderRule_;
    std::set<std::string, CaseInsensitiveLess> folders_;
    std::map<std::string, uint32_t, CaseInsensitiveLess> attributes_;
    std::map<std::string, FileTime, CaseInsensitiveLess> times_;
    std::map<std::string, std::string, CaseInsensitiveLess> links_;  // junction -> target
    mutable std::map<uint64_t, OpenHandle> open_;
    mutable uint64_t nextHandle_ = 1;
    FileTime clock_;
    std::map<char, DriveEntry> drives_;
    std::map<char, uint64_t> freeSpace_;
    std::string current_ = "C:\\";
    std::vector<std::string> createdFolders_;
};

}  // namespace tolva::platform

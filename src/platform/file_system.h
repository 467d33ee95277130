#pragma once
// Files and folders addressed by Windows paths in 8-bit (ANSI) strings, such as "C:\Program
// Files\x.dat". Folders may be given with or without their trailing backslash.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tolva::platform {

// FILE_ATTRIBUTE_* values; the host reports kReadOnly, kDirectory, kReparsePoint and kNormal.
namespace file_attribute {
inline constexpr uint32_t kReadOnly = 0x1;
inline constexpr uint32_t kHidden = 0x2;
inline constexpr uint32_t kSystem = 0x4;
inline constexpr uint32_t kDirectory = 0x10;
inline constexpr uint32_t kArchive = 0x20;
inline constexpr uint32_t kNormal = 0x80;
inline constexpr uint32_t kReparsePoint = 0x400;  // junctions and symbolic links
}  // namespace file_attribute

struct FolderEntry {
    std::string name;  // the entry's own name, never "." or ".."
    bool isFolder = false;
    uint32_t attributes = 0;
};

// DRIVE_* values of GetDriveType.
enum class DriveType : uint32_t {
    kUnknown = 0,
    kNoRootFolder = 1,
    kRemovable = 2,
    kFixed = 3,
    kRemote = 4,
    kCdRom = 5,
    kRamDisk = 6
};

struct DriveEntry {
    std::string root;  // "C:\"
    DriveType type = DriveType::kFixed;
    // The volume label of a fixed or RAM drive; empty for the others, whose media are not touched
    // (an empty floppy or CD drive would otherwise keep the user waiting or ask for a disk).
    std::string label;
    bool operator==(const DriveEntry&) const = default;
};

// Last write time as Windows FILETIME: 100 ns units since 1601-01-01 UTC.
using FileTime = uint64_t;

class InputFile {
public:
    virtual ~InputFile() = default;
    // Reads up to size bytes; got is 0 only at the end of the file.
    virtual Status Read(void* buffer, size_t size, size_t& got) = 0;
    virtual uint64_t Size() const = 0;
};

class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual Status Write(const void* data, size_t size) = 0;
    // Flushes to the disk and closes; after a failure here the file's content is undefined.
    // Destroying an open OutputFile closes it without the flush to disk.
    virtual Status Close() = 0;
};

// A file open for reading and writing at any position, shared for reading and writing with others.
class UpdateFile {
public:
    virtual ~UpdateFile() = default;
    virtual uint64_t Size() const = 0;
    // got is less than size only at the end of the file.
    virtual Status ReadAt(uint64_t position, void* buffer, size_t size, size_t& got) = 0;
    // Writing past the end extends the file.
    virtual Status WriteAt(uint64_t position, const void* data, size_t size) = 0;
    // Flushes and closes.
    virtual Status Close() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool FileExists(std::string_view path) const = 0;
    virtual bool FolderExists(std::string_view path) const = 0;
    // Creates the folder and every missing parent; success when it already exists.
    virtual Status CreateFolders(std::string_view path) = 0;

    virtual Status ReadWholeFile(std::string_view path, std::string& content) const = 0;
    // Creates or truncates the file.
    virtual Status WriteWholeFile(std::string_view path, std::string_view content) = 0;
    // Creates the file when it is missing.
    virtual Status AppendToFile(std::string_view path, std::string_view content) = 0;

    // Copies, replacing an existing target.
    virtual Status CopyOver(std::string_view from, std::string_view to) = 0;
    // Renames or moves; with replace an existing target is replaced in one step, written through to
    // disk.
    virtual Status MoveTo(std::string_view from, std::string_view to, bool replace) = 0;
    // Moves a file, or a folder whose target does not exist, into another folder of the same volume
    // so that it ends as a copy would: an existing target file is replaced, and what is moved takes
    // the permissions its new folder gives new files. Fails, leaving everything where it was, where
    // only a copy can bring it there (another volume).
    virtual Status MoveIn(std::string_view from, std::string_view to) = 0;
    virtual Status RemoveFile(std::string_view path) = 0;
    // Fails when the folder is not empty.
    virtual Status RemoveEmptyFolder(std::string_view path) = 0;
    // Clears read-only, hidden and system so that the file can be replaced or deleted.
    virtual Status SetNormalAttributes(std::string_view path) = 0;

    // The folder's entries in the order the system returns them.
    virtual Status ListFolder(std::string_view folder, std::vector<FolderEntry>& entries) const = 0;
    // The drives with a letter, in letter order.
    virtual Status ListDrives(std::vector<DriveEntry>& drives) const = 0;
    virtual Status GetFileSize(std::string_view path, uint64_t& size) const = 0;
    virtual Status GetFileTime(std::string_view path, FileTime& lastWrite) const = 0;
    // The file_attribute bits of the file or folder itself: a symbolic link or junction is not
    // followed and reports kReparsePoint (with kDirectory when it stands for a folder).
    virtual Status GetAttributes(std::string_view path, uint32_t& attributes) const = 0;
    // The bytes this process may still write on the volume that holds the folder, which must
    // exist.
    virtual Status AvailableSpace(std::string_view folder, uint64_t& bytes) const = 0;

    virtual Status OpenForRead(std::string_view path, std::unique_ptr<InputFile>& file) const = 0;
    // Creates or truncates.
    virtual Status OpenForWrite(std::string_view path, std::unique_ptr<OutputFile>& file) = 0;
    // Opens an existing file for reading and writing in place; with create a missing file is
    // created empty.
    virtual Status OpenForUpdate(std::string_view path, bool create,
                                 std::unique_ptr<UpdateFile>& file) = 0;
};

}  // namespace tolva::platform

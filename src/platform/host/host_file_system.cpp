#include "platform/host/host_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/host/errno_mapping.h"
#include "platform/host/unique_dir.h"
#include "platform/host/unique_fd.h"

namespace tolva::platform {
namespace {

constexpr uint64_t kSecondsFrom1601To1970 = 11644473600ULL;
constexpr uint32_t kSharingViolation = 32;  // ERROR_SHARING_VIOLATION

std::string Describe(const char* what, std::string_view path) {
    return std::string(what) + " " + std::string(path);
}

std::string ParentOf(const std::string& hostPath) {
    size_t slash = hostPath.rfind('/');
    return slash == 0 ? "/" : hostPath.substr(0, slash);
}

bool IsFolder(const std::string& hostPath) {
    struct stat info;
    return ::stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

Status Failure(int error, const char* what, std::string_view path, const std::string& hostPath) {
    return Status::Failure(WindowsErrorForPath(error, hostPath), Describe(what, path));
}

bool IsReadOnlyFile(const std::string& hostPath) {
    struct stat info;
    return ::stat(hostPath.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           (info.st_mode & S_IWUSR) == 0;
}

// info describes what a link leads to, own the entry itself.
uint32_t AttributesOf(const struct stat& info, const struct stat& own) {
    uint32_t attributes = 0;
    if (S_ISDIR(info.st_mode)) {
        attributes |= file_attribute::kDirectory;
    }
    if (S_ISLNK(own.st_mode)) {
        attributes |= file_attribute::kReparsePoint;
    }
    if ((info.st_mode & S_IWUSR) == 0) {
        attributes |= file_attribute::kReadOnly;
    }
    return attributes == 0 ? file_attribute::kNormal : attributes;
}

Status WriteAll(int fd, const void* data, size_t size) {
    auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t written = ::write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Status::Failure(WindowsErrorFromErrno(errno), "write");
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return Status::Ok();
}

Status ReadSome(int fd, void* buffer, size_t size, size_t& got) {
    for (;;) {
        ssize_t count = ::read(fd, buffer, size);
        if (count >= 0) {
            got = static_cast<size_t>(count);
            return Status::Ok();
        }
        if (errno != EINTR) {
            got = 0;
            return Status::Failure(errno == EISDIR ? error::kAccessDenied : error::kReadFault,
                                   "read");
        }
    }
}

int SyncPath(const std::string& hostPath, int flags) {
    UniqueFd fd(::open(hostPath.c_str(), flags | O_CLOEXEC));
    if (!fd.Valid() || ::fsync(fd.Get()) != 0) {
        return errno;
    }
    return 0;
}

// Flushes to the disk and closes; the first failure is reported.
Status FlushAndClose(UniqueFd& file) {
    if (!file.Valid()) {
        return Status::Failure(error::kInvalidHandle, "close of a closed file");
    }
    int fd = file.Release();
    int syncError = ::fsync(fd) == 0 ? 0 : errno;
    int closeError = ::close(fd) == 0 ? 0 : errno;
    if (syncError != 0 || closeError != 0) {
        return Status::Failure(WindowsErrorFromErrno(syncError != 0 ? syncError : closeError),
                               "flush and close");
    }
    return Status::Ok();
}

class HostInputFile : public InputFile {
public:
    HostInputFile(UniqueFd fd, uint64_t size) : fd_(std::move(fd)), size_(size) {}
    Status Read(void* buffer, size_t size, size_t& got) override {
        return ReadSome(fd_.Get(), buffer, size, got);
    }
    uint64_t Size() const override { return size_; }

private:
    UniqueFd fd_;
    uint64_t size_;
};

class HostOutputFile : public OutputFile {
public:
    explicit HostOutputFile(UniqueFd fd) : fd_(std::move(fd)) {}
    Status Write(const void* data, size_t size) override {
        if (!fd_.Valid()) {
            return Status::Failure(error::kInvalidHandle, "write to a closed file");
        }
        return WriteAll(fd_.Get(), data, size);
    }
    Status Close() override { return FlushAndClose(fd_); }

private:
    UniqueFd fd_;
};

class HostUpdateFile : public UpdateFile {
public:
    explicit HostUpdateFile(UniqueFd fd) : fd_(std::move(fd)) {}
    uint64_t Size() const override {
        struct stat info;
        return fd_.Valid() && ::fstat(fd_.Get(), &info) == 0 ? static_cast<uint64_t>(info.st_size)
                                                             : 0;
    }
    Status ReadAt(uint64_t position, void* buffer, size_t size, size_t& got) override {
        got = 0;
        auto* bytes = static_cast<char*>(buffer);
        while (got < size) {
            ssize_t count =
                ::pread(fd_.Get(), bytes + got, size - got, static_cast<off_t>(position + got));
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                return Status::Failure(error::kReadFault, "read");
            }
            if (count == 0) {
                break;
            }
            got += static_cast<size_t>(count);
        }
        return Status::Ok();
    }
    Status WriteAt(uint64_t position, const void* data, size_t size) override {
        auto* bytes = static_cast<const char*>(data);
        size_t done = 0;
        while (done < size) {
            ssize_t count =
                ::pwrite(fd_.Get(), bytes + done, size - done, static_cast<off_t>(position + done));
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                return Status::Failure(WindowsErrorFromErrno(errno), "write");
            }
            done += static_cast<size_t>(count);
        }
        return Status::Ok();
    }
    Status Close() override { return FlushAndClose(fd_); }

private:
    UniqueFd fd_;
};

Status OpenInput(const std::string& hostPath, const char* what, std::string_view path, UniqueFd& fd,
                 uint64_t& size) {
    fd.Reset(::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) {
        return Failure(errno, what, path, hostPath);
    }
    struct stat info;
    if (::fstat(fd.Get(), &info) != 0) {
        return Failure(errno, what, path, hostPath);
    }
    if (S_ISDIR(info.st_mode)) {
        return Status::Failure(error::kAccessDenied, Describe(what, path));
    }
    size = static_cast<uint64_t>(info.st_size);
    return Status::Ok();
}

}  // namespace

Status HostFileSystem::Map(std::string_view path, const char* what, std::string& hostPath) const {
    if (!paths_.ToHost(path, hostPath)) {
        return Status::Failure(error::kPathNotFound, Describe(what, path));
    }
    return Status::Ok();
}

bool HostFileSystem::FileExists(std::string_view path) const {
    std::string hostPath;
    struct stat info;
    return paths_.ToHost(path, hostPath) && ::stat(hostPath.c_str(), &info) == 0 &&
           !S_ISDIR(info.st_mode);
}

bool HostFileSystem::FolderExists(std::string_view path) const {
    std::string hostPath;
    return paths_.ToHost(path, hostPath) && IsFolder(hostPath);
}

Status HostFileSystem::CreateFolders(std::string_view path) {
    std::string hostPath;
    if (Status status = Map(path, "CreateFolders", hostPath); !status) {
        return status;
    }
    // Every folder below the drive, parents first; the drive folder itself is made as needed.
    for (size_t slash = paths_.Root().size() + 1; slash != std::string::npos;) {
        slash = hostPath.find('/', slash + 1);
        std::string folder = hostPath.substr(0, slash);
        if (::mkdir(folder.c_str(), 0777) != 0 && (errno != EEXIST || !IsFolder(folder))) {
            return Failure(errno, "CreateFolders", path, folder);
        }
    }
    return Status::Ok();
}

Status HostFileSystem::ReadWholeFile(std::string_view path, std::string& content) const {
    std::string hostPath;
    if (Status status = Map(path, "ReadWholeFile", hostPath); !status) {
        return status;
    }
    UniqueFd fd;
    uint64_t size = 0;
    if (Status status = OpenInput(hostPath, "ReadWholeFile", path, fd, size); !status) {
        return status;
    }
    std::string data;
    data.reserve(static_cast<size_t>(size));
    char buffer[65536];
    for (;;) {
        size_t got = 0;
        if (Status status = ReadSome(fd.Get(), buffer, sizeof buffer, got); !status) {
            return Status::Failure(status.code(), Describe("ReadWholeFile", path));
        }
        if (got == 0) {
            break;
        }
        data.append(buffer, got);
    }
    content = std::move(data);
    return Status::Ok();
}

Status HostFileSystem::WriteFile(std::string_view path, std::string_view content, int flags,
                                 const char* what) {
    std::string hostPath;
    if (Status status = Map(path, what, hostPath); !status) {
        return status;
    }
    if (IsReadOnlyFile(hostPath)) {
        return Status::Failure(error::kAccessDenied, Describe(what, path));
    }
    UniqueFd fd(::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0666));
    if (!fd.Valid()) {
        return Failure(errno, what, path, hostPath);
    }
    if (Status status = WriteAll(fd.Get(), content.data(), content.size()); !status) {
        return Status::Failure(status.code(), Describe(what, path));
    }
    if (::close(fd.Release()) != 0) {
        return Failure(errno, what, path, hostPath);
    }
    return Status::Ok();
}

Status HostFileSystem::WriteWholeFile(std::string_view path, std::string_view content) {
    return WriteFile(path, content, O_TRUNC, "WriteWholeFile");
}

Status HostFileSystem::AppendToFile(std::string_view path, std::string_view content) {
    return WriteFile(path, content, O_APPEND, "AppendToFile");
}

Status HostFileSystem::CopyOver(std::string_view from, std::string_view to) {
    std::string source, target;
    if (Status status = Map(from, "CopyOver", source); !status) {
        return status;
    }
    if (Status status = Map(to, "CopyOver", target); !status) {
        return status;
    }
    UniqueFd in;
    uint64_t size = 0;
    if (Status status = OpenInput(source, "CopyOver", from, in, size); !status) {
        return status;
    }
    if (IsReadOnlyFile(target)) {
        return Status::Failure(error::kAccessDenied, Describe("CopyOver", to));
    }
    struct stat info, existing;
    if (::fstat(in.Get(), &info) != 0) {
        return Failure(errno, "CopyOver", from, source);
    }
    // Truncating the target would empty the source when both are one file; Windows refuses too.
    if (::stat(target.c_str(), &existing) == 0 && existing.st_dev == info.st_dev &&
        existing.st_ino == info.st_ino) {
        return Status::Failure(kSharingViolation, Describe("CopyOver", to));
    }
    UniqueFd out(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!out.Valid()) {
        return Failure(errno, "CopyOver", to, target);
    }
    char buffer[65536];
    for (;;) {
        size_t got = 0;
        if (Status status = ReadSome(in.Get(), buffer, sizeof buffer, got); !status) {
            return Status::Failure(status.code(), Describe("CopyOver", from));
        }
        if (got == 0) {
            break;
        }
        if (Status status = WriteAll(out.Get(), buffer, got); !status) {
            return Status::Failure(status.code(), Describe("CopyOver", to));
        }
    }
    // Like CopyFile: the copy keeps the source's last write time and read-only state.
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    if (::futimens(out.Get(), times) != 0 || ::fchmod(out.Get(), info.st_mode & 07777) != 0 ||
        ::close(out.Release()) != 0) {
        return Failure(errno, "CopyOver", to, target);
    }
    return Status::Ok();
}

Status HostFileSystem::MoveTo(std::string_view from, std::string_view to, bool replace) {
    std::string source, target;
    if (Status status = Map(from, "MoveTo", source); !status) {
        return status;
    }
    if (Status status = Map(to, "MoveTo", target); !status) {
        return status;
    }
    struct stat info;
    if (::lstat(source.c_str(), &info) != 0) {
        return Failure(errno, "MoveTo", from, source);
    }
    if (!replace) {
        if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) !=
            0) {
            return Failure(errno, "MoveTo", to, target);
        }
        return Status::Ok();
    }
    if (IsReadOnlyFile(target) || IsFolder(target)) {
        return Status::Failure(error::kAccessDenied, Describe("MoveTo", to));
    }
    if (::rename(source.c_str(), target.c_str()) != 0) {
        return Failure(errno, "MoveTo", to, target);
    }
    // Written through: the file's data, then the folder entries that name it.
    int error = S_ISDIR(info.st_mode) ? 0 : SyncPath(target, O_RDONLY);
    if (error == 0) {
        error = SyncPath(ParentOf(target), O_RDONLY | O_DIRECTORY);
    }
    if (error == 0 && ParentOf(source) != ParentOf(target)) {
        error = SyncPath(ParentOf(source), O_RDONLY | O_DIRECTORY);
    }
    if (error != 0) {
        return Status::Failure(WindowsErrorFromErrno(error), Describe("MoveTo", to));
    }
    return Status::Ok();
}

Status HostFileSystem::MoveIn(std::string_view from, std::string_view to) {
    std::string source, target;
    if (Status status = Map(from, "MoveIn", source); !status) {
        return status;
    }
    if (Status status = Map(to, "MoveIn", target); !status) {
        return status;
    }
    struct stat info;
    if (::lstat(source.c_str(), &info) != 0) {
        return Failure(errno, "MoveIn", from, source);
    }
    if (S_ISDIR(info.st_mode)) {
        if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) !=
            0) {
            return Failure(errno, "MoveIn", to, target);
        }
        return Status::Ok();
    }
    if (!S_ISREG(info.st_mode) || IsReadOnlyFile(target) || IsFolder(target)) {
        return Status::Failure(error::kAccessDenied, Describe("MoveIn", to));
    }
    if (::rename(source.c_str(), target.c_str()) != 0) {
        return Failure(errno, "MoveIn", to, target);
    }
    return Status::Ok();
}

Status HostFileSystem::RemoveFile(std::string_view path) {
    std::string hostPath;
    if (Status status = Map(path, "RemoveFile", hostPath); !status) {
        return status;
    }
    if (IsReadOnlyFile(hostPath)) {
        return Status::Failure(error::kAccessDenied, Describe("RemoveFile", path));
    }
    if (::unlink(hostPath.c_str()) != 0) {
        return Failure(errno, "RemoveFile", path, hostPath);
    }
    return Status::Ok();
}

Status HostFileSystem::RemoveEmptyFolder(std::string_view path) {
    std::string hostPath;
    if (Status status = Map(path, "RemoveEmptyFolder", hostPath); !status) {
        return status;
    }
    // Windows removes a junction or folder link itself, whatever its target holds.
    struct stat own;
    if (::lstat(hostPath.c_str(), &own) == 0 && S_ISLNK(own.st_mode) && IsFolder(hostPath)) {
        if (::unlink(hostPath.c_str()) != 0) {
            return Failure(errno, "RemoveEmptyFolder", path, hostPath);
        }
        return Status::Ok();
    }
    if (::rmdir(hostPath.c_str()) != 0) {
        return Failure(errno == EEXIST ? ENOTEMPTY : errno, "RemoveEmptyFolder", path, hostPath);
    }
    return Status::Ok();
}

Status HostFileSystem::SetNormalAttributes(std::string_view path) {
    std::string hostPath;
    if (Status status = Map(path, "SetNormalAttributes", hostPath); !status) {
        return status;
    }
    struct stat info;
    if (::stat(hostPath.c_str(), &info) != 0 ||
        ::chmod(hostPath.c_str(), (info.st_mode & 07777) | S_IWUSR) != 0) {
        return Failure(errno, "SetNormalAttributes", path, hostPath);
    }
    return Status::Ok();
}

Status HostFileSystem::ListFolder(std::string_view folder,
                                  std::vector<FolderEntry>& entries) const {
    std::string hostPath;
    if (Status status = Map(folder, "ListFolder", hostPath); !status) {
        return status;
    }
    UniqueDir dir(::opendir(hostPath.c_str()));
    if (!dir.Valid()) {
        int error = errno == ENOENT ? ENOTDIR : errno;
        return Status::Failure(WindowsErrorFromErrno(error), Describe("ListFolder", folder));
    }
    std::vector<FolderEntry> found;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.Get());
        if (entry == nullptr) {
            if (errno != 0) {
                return Status::Failure(WindowsErrorFromErrno(errno),
                                       Describe("ListFolder", folder));
            }
            break;
        }
        std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat info, own;
        if (::fstatat(::dirfd(dir.Get()), entry->d_name, &info, 0) != 0 ||
            ::fstatat(::dirfd(dir.Get()), entry->d_name, &own, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;  // removed meanwhile, or a dangling link
        }
        found.push_back({std::move(name), S_ISDIR(info.st_mode) != 0, AttributesOf(info, own)});
    }
    entries = std::move(found);
    return Status::Ok();
}

Status HostFileSystem::ListDrives(std::vector<DriveEntry>& drives) const {
    std::error_code error;
    std::vector<DriveEntry> found;
    for (const auto& entry : std::filesystem::directory_iterator(paths_.Root(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z' && entry.is_directory(error)) {
            found.push_back({std::string(1, static_cast<char>(name[0] - 'a' + 'A')) + ":\\"});
        }
    }
    if (error) {
        return Status::Failure(WindowsErrorFromErrno(error.value()), "ListDrives");
    }
    std::sort(found.begin(), found.end(),
              [](const DriveEntry& a, const DriveEntry& b) { return a.root < b.root; });
    drives = std::move(found);
    return Status::Ok();
}

Status HostFileSystem::GetFileSize(std::string_view path, uint64_t& size) const {
    std::string hostPath;
    if (Status status = Map(path, "GetFileSize", hostPath); !status) {
        return status;
    }
    struct stat info;
    if (::stat(hostPath.c_str(), &info) != 0) {
        return Failure(errno, "GetFileSize", path, hostPath);
    }
    if (S_ISDIR(info.st_mode)) {
        return Status::Failure(error::kAccessDenied, Describe("GetFileSize", path));
    }
    size = static_cast<uint64_t>(info.st_size);
    return Status::Ok();
}

Status HostFileSystem::AvailableSpace(std::string_view folder, uint64_t& bytes) const {
    std::string hostPath;
    if (Status status = Map(folder, "AvailableSpace", hostPath); !status) {
        return status;
    }
    struct statvfs volume;
    if (::statvfs(hostPath.c_str(), &volume) != 0) {
        return Failure(errno, "AvailableSpace", folder, hostPath);
    }
    bytes = static_cast<uint64_t>(volume.f_bavail) * volume.f_frsize;
    return Status::Ok();
}

Status HostFileSystem::GetFileTime(std::string_view path, FileTime& lastWrite) const {
    std::string hostPath;
    if (Status status = Map(path, "GetFileTime", hostPath); !status) {
        return status;
    }
    struct stat info;
    if (::stat(hostPath.c_str(), &info) != 0) {
        return Failure(errno, "GetFileTime", path, hostPath);
    }
    auto seconds = static_cast<uint64_t>(info.st_mtim.tv_sec) + kSecondsFrom1601To1970;
    lastWrite = seconds * 10000000ULL + static_cast<uint64_t>(info.st_mtim.tv_nsec) / 100;
    return Status::Ok();
}

Status HostFileSystem::GetAttributes(std::string_view path, uint32_t& attributes) const {
    std::string hostPath;
    if (Status status = Map(path, "GetAttributes", hostPath); !status) {
        return status;
    }
    struct stat own;
    if (::lstat(hostPath.c_str(), &own) != 0) {
        return Failure(errno, "GetAttributes", path, hostPath);
    }
    struct stat info;
    attributes = AttributesOf(::stat(hostPath.c_str(), &info) == 0 ? info : own, own);
    return Status::Ok();
}

Status HostFileSystem::OpenForRead(std::string_view path, std::unique_ptr<InputFile>& file) const {
    std::string hostPath;
    if (Status status = Map(path, "OpenForRead", hostPath); !status) {
        return status;
    }
    UniqueFd fd;
    uint64_t size = 0;
    if (Status status = OpenInput(hostPath, "OpenForRead", path, fd, size); !status) {
        return status;
    }
    file = std::make_unique<HostInputFile>(std::move(fd), size);
    return Status::Ok();
}

Status HostFileSystem::OpenForWrite(std::string_view path, std::unique_ptr<OutputFile>& file) {
    std::string hostPath;
    if (Status status = Map(path, "OpenForWrite", hostPath); !status) {
        return status;
    }
    if (IsReadOnlyFile(hostPath)) {
        return Status::Failure(error::kAccessDenied, Describe("OpenForWrite", path));
    }
    UniqueFd fd(::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd.Valid()) {
        return Failure(errno, "OpenForWrite", path, hostPath);
    }
    file = std::make_unique<HostOutputFile>(std::move(fd));
    return Status::Ok();
}

Status HostFileSystem::OpenForUpdate(std::string_view path, bool create,
                                     std::unique_ptr<UpdateFile>& file) {
    std::string hostPath;
    if (Status status = Map(path, "OpenForUpdate", hostPath); !status) {
        return status;
    }
    if (IsReadOnlyFile(hostPath)) {
        return Status::Failure(error::kAccessDenied, Describe("OpenForUpdate", path));
    }
    UniqueFd fd(::open(hostPath.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0666));
    if (!fd.Valid()) {
        return Failure(errno, "OpenForUpdate", path, hostPath);
    }
    if (IsFolder(hostPath)) {
        return Status::Failure(error::kAccessDenied, Describe("OpenForUpdate", path));
    }
    file = std::make_unique<HostUpdateFile>(std::move(fd));
    return Status::Ok();
}

}  // namespace tolva::platform

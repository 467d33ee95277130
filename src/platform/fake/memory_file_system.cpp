#include "platform/fake/memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tolva::platform {
namespace {

constexpr uint32_t kSharingViolation = 32;  // ERROR_SHARING_VIOLATION

std::string AsFolder(std::string_view path) {
    std::string folder(path);
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    return folder;
}

Status NoFile(const char* what) {
    return Status::Failure(error::kFileNotFound, what);
}

Status DiskFull(const char* what) {
    return Status::Failure(error::kDiskFull, what);
}

Status Unsupported(const char* what) {
    return Status::Failure(error::kNotSupported, what);
}

class MemoryInput final : public InputFile {
public:
    explicit MemoryInput(std::string content) : content_(std::move(content)) {}
    Status Read(void* buffer, size_t size, size_t& got) override {
        got = std::min(size, content_.size() - at_);
        std::memcpy(buffer, content_.data() + at_, got);
        at_ += got;
        return Status::Ok();
    }
    uint64_t Size() const override { return content_.size(); }

private:
    std::string content_;
    size_t at_ = 0;
};

class MemoryOutput final : public OutputFile {
public:
    MemoryOutput(MemoryFileSystem& owner, std::string path)
        : owner_(owner), path_(std::move(path)) {}
    Status Write(const void* data, size_t size) override {
        if (owner_.failWrites) {
            return DiskFull("write");
        }
        owner_.files[path_].append(static_cast<const char*>(data), size);
        return Status::Ok();
    }
    Status Close() override { return Status::Ok(); }

private:
    MemoryFileSystem& owner_;
    std::string path_;
};

}  // namespace

MemoryFileSystem::MemoryFileSystem(Folders folders) : folderRule_(folders) {}

bool MemoryFileSystem::FileExists(std::string_view path) const {
    return files.count(path) != 0;
}

bool MemoryFileSystem::FolderExists(std::string_view path) const {
    return folderRule_ == Folders::kAlwaysExist || folders_.count(AsFolder(path)) != 0;
}

Status MemoryFileSystem::CreateFolders(std::string_view path) {
    createdFolders_.emplace_back(path);
    const std::string folder = AsFolder(path);
    for (size_t at = folder.find('\\'); at != std::string::npos; at = folder.find('\\', at + 1)) {
        folders_.insert(folder.substr(0, at + 1));
    }
    return Status::Ok();
}

Status MemoryFileSystem::ReadWholeFile(std::string_view path, std::string& content) const {
    const auto found = files.find(path);
    if (found == files.end()) {
        return NoFile("read");
    }
    content = found->second;
    return Status::Ok();
}

Status MemoryFileSystem::WriteWholeFile(std::string_view path, std::string_view content) {
    if (Status status = CheckWritable(path, "write"); !status) {
        return status;
    }
    files[std::string(path)] = std::string(content);
    return Status::Ok();
}

Status MemoryFileSystem::AppendToFile(std::string_view path, std::string_view content) {
    if (Status status = CheckWritable(path, "append"); !status) {
        return status;
    }
    files[std::string(path)] += content;
    return Status::Ok();
}

Status MemoryFileSystem::CopyOver(std::string_view from, std::string_view to) {
    const auto found = files.find(from);
    if (found == files.end()) {
        return NoFile("copy");
    }
    if (from == to) {
        return Status::Failure(kSharingViolation, "copy");
    }
    if (Status status = CheckWritable(to, "copy"); !status) {
        return status;
    }
    std::string content = found->second;
    files[std::string(to)] = std::move(content);
    return Status::Ok();
}

Status MemoryFileSystem::MoveTo(std::string_view from, std::string_view to, bool replace) {
    if (failMoves) {
        return Status::Failure(error::kAccessDenied, "move");
    }
    const auto found = files.find(from);
    if (found == files.end()) {
        return NoFile("move");
    }
    if (from == to) {
        return Status::Ok();
    }
    if (!replace && FileExists(to)) {
        return Status::Failure(error::kAlreadyExists, "move");
    }
    if (!ParentFolderExists(to)) {
        return Status::Failure(error::kPathNotFound, "move");
    }
    std::string content = std::move(found->second);
    files.erase(found);
    files[std::string(to)] = std::move(content);
    return Status::Ok();
}

Status MemoryFileSystem::RemoveFile(std::string_view path) {
    const auto found = files.find(path);
    if (found == files.end()) {
        return NoFile("remove");
    }
    files.erase(found);
    return Status::Ok();
}

Status MemoryFileSystem::RemoveEmptyFolder(std::string_view) {
    return Unsupported("remove folder");
}

Status MemoryFileSystem::SetNormalAttributes(std::string_view) {
    return Status::Ok();
}

Status MemoryFileSystem::ListFolder(std::string_view, std::vector<FolderEntry>&) const {
    return Unsupported("list folder");
}

Status MemoryFileSystem::GetFileSize(std::string_view path, uint64_t& size) const {
    const auto found = files.find(path);
    if (found == files.end()) {
        return NoFile("size");
    }
    size = found->second.size();
    return Status::Ok();
}

Status MemoryFileSystem::GetFileTime(std::string_view, FileTime&) const {
    return Unsupported("file time");
}

Status MemoryFileSystem::OpenForRead(std::string_view path,
                                     std::unique_ptr<InputFile>& file) const {
    const auto found = files.find(path);
    if (found == files.end()) {
        return NoFile("open");
    }
    file = std::make_unique<MemoryInput>(found->second);
    return Status::Ok();
}

Status MemoryFileSystem::OpenForWrite(std::string_view path, std::unique_ptr<OutputFile>& file) {
    if (!ParentFolderExists(path)) {
        return Status::Failure(error::kPathNotFound, "open");
    }
    files[std::string(path)].clear();
    file = std::make_unique<MemoryOutput>(*this, std::string(path));
    return Status::Ok();
}

bool MemoryFileSystem::ParentFolderExists(std::string_view path) const {
    if (folderRule_ == Folders::kAlwaysExist) {
        return true;
    }
    const size_t slash = path.rfind('\\');
    return slash != std::string_view::npos && FolderExists(path.substr(0, slash + 1));
}

Status MemoryFileSystem::CheckWritable(std::string_view path, const char* what) const {
    if (failWrites) {
        return DiskFull(what);
    }
    if (!ParentFolderExists(path)) {
        return Status::Failure(error::kPathNotFound, what);
    }
    return Status::Ok();
}

}  // namespace tolva::platform

#pragma once
// A file system in memory for the fuzzer: one readable archive, and written files recorded by name
// only. It aborts the run when anything is opened for writing outside the destination folder.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace tolva::archive::fuzz {

class MemoryInputFile : public platform::InputFile {
public:
    explicit MemoryInputFile(std::string_view content) : content_(content) {}
    platform::Status Read(void* buffer, size_t size, size_t& got) override {
        got = std::min(size, content_.size() - at_);
        std::memcpy(buffer, content_.data() + at_, got);
        at_ += got;
        return platform::Status::Ok();
    }
    uint64_t Size() const override { return content_.size(); }

private:
    std::string_view content_;
    size_t at_ = 0;
};

class DiscardingOutputFile : public platform::OutputFile {
public:
    platform::Status Write(const void*, size_t) override { return platform::Status::Ok(); }
    platform::Status Close() override { return platform::Status::Ok(); }
};

class MemoryFileSystem : public platform::FileSystem {
public:
    MemoryFileSystem(std::string archivePath, std::string_view archive, std::string destination)
        : archivePath_(std::move(archivePath)),
          archive_(archive),
          destination_(std::move(destination)) {}

    bool FileExists(std::string_view path) const override {
        return written_.count(std::string(path)) > 0;
    }
    bool FolderExists(std::string_view) const override { return true; }
    platform::Status CreateFolders(std::string_view path) override {
        CheckInside(path);
        return platform::Status::Ok();
    }
    platform::Status OpenForRead(std::string_view path,
                                 std::unique_ptr<platform::InputFile>& file) const override {
        if (path != archivePath_) {
            return Unsupported();
        }
        file = std::make_unique<MemoryInputFile>(archive_);
        return platform::Status::Ok();
    }
    platform::Status OpenForWrite(std::string_view path,
                                  std::unique_ptr<platform::OutputFile>& file) override {
        CheckInside(path);
        written_.insert(std::string(path));
        file = std::make_unique<DiscardingOutputFile>();
        return platform::Status::Ok();
    }
    platform::Status RemoveFile(std::string_view path) override {
        written_.erase(std::string(path));
        return platform::Status::Ok();
    }

    platform::Status ReadWholeFile(std::string_view, std::string&) const override {
        return Unsupported();
    }
    platform::Status WriteWholeFile(std::string_view, std::string_view) override {
        return Unsupported();
    }
    platform::Status AppendToFile(std::string_view, std::string_view) override {
        return Unsupported();
    }
    platform::Status CopyOver(std::string_view, std::string_view) override { return Unsupported(); }
    platform::Status MoveTo(std::string_view, std::string_view, bool) override {
        return Unsupported();
    }
    platform::Status RemoveEmptyFolder(std::string_view) override { return Unsupported(); }
    platform::Status SetNormalAttributes(std::string_view) override { return Unsupported(); }
    platform::Status ListFolder(std::string_view,
                                std::vector<platform::FolderEntry>&) const override {
        return Unsupported();
    }
    platform::Status GetFileSize(std::string_view, uint64_t&) const override {
        return Unsupported();
    }
    platform::Status GetFileTime(std::string_view, platform::FileTime&) const override {
        return Unsupported();
    }

private:
    static platform::Status Unsupported() {
        return platform::Status::Failure(platform::error::kNotSupported,
                                         "not in the fuzzer's file system");
    }
    // A path below the destination, with no segment that leads out of it and no drive or stream.
    void CheckInside(std::string_view path) const {
        if (!path.starts_with(destination_)) {
            std::abort();
        }
        const std::string_view rest = path.substr(destination_.size());
        if (rest.starts_with("\\") || rest.find(':') != std::string_view::npos) {
            std::abort();
        }
        size_t start = 0;
        while (start <= rest.size()) {
            const size_t end = std::min(rest.find('\\', start), rest.size());
            if (rest.substr(start, end - start) == "..") {
                std::abort();
            }
            start = end + 1;
        }
    }

    std::string archivePath_;
    std::string_view archive_;
    std::string destination_;
    std::set<std::string> written_;
};

}  // namespace tolva::archive::fuzz

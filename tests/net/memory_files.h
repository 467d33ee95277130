#pragma once
// A file system held in memory: enough for the download code, with switches that make writes and
// moves fail.

#include <map>
#include <memory>
#include <string>

#include "platform/fake/fake_system.h"
#include "platform/file_system.h"

namespace tolva::testing {

class MemoryFiles final : public platform::FileSystem {
public:
    std::map<std::string, std::string> files;
    bool failWrites = false;
    bool failMoves = false;

    bool FileExists(std::string_view path) const override {
        return files.count(std::string(path)) > 0;
    }
    bool FolderExists(std::string_view) const override { return true; }
    platform::Status CreateFolders(std::string_view) override { return platform::Status::Ok(); }
    platform::Status ReadWholeFile(std::string_view path, std::string& content) const override {
        auto it = files.find(std::string(path));
        if (it == files.end()) {
            return platform::Status::Failure(platform::error::kFileNotFound, "no file");
        }
        content = it->second;
        return platform::Status::Ok();
    }
    platform::Status WriteWholeFile(std::string_view path, std::string_view content) override {
        files[std::string(path)] = std::string(content);
        return platform::Status::Ok();
    }
    platform::Status AppendToFile(std::string_view path, std::string_view content) override {
        files[std::string(path)] += content;
        return platform::Status::Ok();
    }
    platform::Status CopyOver(std::string_view from, std::string_view to) override {
        return Move(from, to, false);
    }
    platform::Status MoveTo(std::string_view from, std::string_view to, bool) override {
        if (failMoves) {
            return platform::Status::Failure(platform::error::kAccessDenied, "no rights");
        }
        return Move(from, to, true);
    }
    platform::Status RemoveFile(std::string_view path) override {
        return files.erase(std::string(path)) > 0
                   ? platform::Status::Ok()
                   : platform::Status::Failure(platform::error::kFileNotFound, "no file");
    }
    platform::Status RemoveEmptyFolder(std::string_view) override { return Unsupported(); }
    platform::Status SetNormalAttributes(std::string_view) override {
        return platform::Status::Ok();
    }
    platform::Status ListFolder(std::string_view,
                                std::vector<platform::FolderEntry>&) const override {
        return Unsupported();
    }
    platform::Status GetFileSize(std::string_view path, uint64_t& size) const override {
        auto it = files.find(std::string(path));
        if (it == files.end()) {
            return platform::Status::Failure(platform::error::kFileNotFound, "no file");
        }
        size = it->second.size();
        return platform::Status::Ok();
    }
    platform::Status GetFileTime(std::string_view, platform::FileTime&) const override {
        return Unsupported();
    }
    platform::Status OpenForRead(std::string_view,
                                 std::unique_ptr<platform::InputFile>&) const override {
        return Unsupported();
    }
    platform::Status OpenForWrite(std::string_view path,
                                  std::unique_ptr<platform::OutputFile>& file) override {
        files[std::string(path)].clear();
        file = std::make_unique<Output>(*this, std::string(path));
        return platform::Status::Ok();
    }

private:
    class Output final : public platform::OutputFile {
    public:
        Output(MemoryFiles& owner, std::string path) : owner_(owner), path_(std::move(path)) {}
        platform::Status Write(const void* data, size_t size) override {
            if (owner_.failWrites) {
                return platform::Status::Failure(platform::error::kDiskFull, "disk full");
            }
            owner_.files[path_].append(static_cast<const char*>(data), size);
            return platform::Status::Ok();
        }
        platform::Status Close() override { return platform::Status::Ok(); }

    private:
        MemoryFiles& owner_;
        std::string path_;
    };

    static platform::Status Unsupported() {
        return platform::Status::Failure(platform::error::kNotSupported, "not in memory");
    }
    platform::Status Move(std::string_view from, std::string_view to, bool remove) {
        auto it = files.find(std::string(from));
        if (it == files.end()) {
            return platform::Status::Failure(platform::error::kFileNotFound, "no file");
        }
        std::string content = it->second;
        if (remove) {
            files.erase(it);
        }
        files[std::string(to)] = std::move(content);
        return platform::Status::Ok();
    }
};

// The temporary folder C:\Temp\ and the clock at 2026-12-09 14:05:09.
inline platform::FakeSystem TestSystem() {
    platform::FakeSystem system;
    system.SetTempFolder("C:\\Temp\\");
    system.SetNow({2026, 12, 9, 14, 5, 9, 0, 3});
    return system;
}

}  // namespace tolva::testing

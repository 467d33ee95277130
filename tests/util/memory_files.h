#pragma once
// An in-memory file system for the util tests: folders must exist before a file can be written into
// them, writes can be made to fail, and every folder creation is recorded.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace tolva::util::testing {

// Files by exact path; "C:\" exists from the start. Writing into a missing folder fails.
class MemoryFiles : public platform::FileSystem {
public:
    std::map<std::string, std::string, std::less<>> files;
    std::set<std::string, std::less<>> folders{"C:\\"};
    bool failWrites = false;
    std::vector<std::string> createdFolders;

    bool FileExists(std::string_view path) const override { return files.count(path) != 0; }
    bool FolderExists(std::string_view path) const override { return folders.count(path) != 0; }
    platform::Status CreateFolders(std::string_view path) override {
        createdFolders.emplace_back(path);
        for (size_t at = path.find('\\'); at != std::string_view::npos;
             at = path.find('\\', at + 1)) {
            folders.emplace(path.substr(0, at + 1));
        }
        return platform::Status::Ok();
    }
    platform::Status ReadWholeFile(std::string_view path, std::string& content) const override {
        const auto found = files.find(path);
        if (found == files.end()) {
            return platform::Status::Failure(platform::error::kFileNotFound, "read");
        }
        content = found->second;
        return platform::Status::Ok();
    }
    platform::Status WriteWholeFile(std::string_view path, std::string_view content) override {
        if (!Writable(path)) {
            return platform::Status::Failure(platform::error::kPathNotFound, "write");
        }
        files[std::string(path)] = std::string(content);
        return platform::Status::Ok();
    }
    platform::Status AppendToFile(std::string_view path, std::string_view content) override {
        if (!Writable(path)) {
            return platform::Status::Failure(platform::error::kPathNotFound, "append");
        }
        files[std::string(path)] += content;
        return platform::Status::Ok();
    }
    platform::Status RemoveFile(std::string_view path) override {
        const auto found = files.find(path);
        if (found == files.end()) {
            return platform::Status::Failure(platform::error::kFileNotFound, "remove");
        }
        files.erase(found);
        return platform::Status::Ok();
    }

    platform::Status CopyOver(std::string_view, std::string_view) override { return Unused(); }
    platform::Status MoveTo(std::string_view, std::string_view, bool) override { return Unused(); }
    platform::Status RemoveEmptyFolder(std::string_view) override { return Unused(); }
    platform::Status SetNormalAttributes(std::string_view) override { return Unused(); }
    platform::Status ListFolder(std::string_view,
                                std::vector<platform::FolderEntry>&) const override {
        return Unused();
    }
    platform::Status GetFileSize(std::string_view, uint64_t&) const override { return Unused(); }
    platform::Status GetFileTime(std::string_view, platform::FileTime&) const override {
        return Unused();
    }
    platform::Status OpenForRead(std::string_view,
                                 std::unique_ptr<platform::InputFile>&) const override {
        return Unused();
    }
    platform::Status OpenForWrite(std::string_view,
                                  std::unique_ptr<platform::OutputFile>&) override {
        return Unused();
    }

private:
    bool Writable(std::string_view path) const {
        const size_t slash = path.rfind('\\');
        return !failWrites && slash != std::string_view::npos &&
               folders.count(path.substr(0, slash + 1)) != 0;
    }
    static platform::Status Unused() {
        return platform::Status::Failure(platform::error::kNotSupported, "not used by these tests");
    }
};

}  // namespace tolva::util::testing

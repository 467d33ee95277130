#pragma once
// Files as another file system holds them, except that one file exists but cannot be read.

#include <string>

#include "platform/fake/forwarding_file_system.h"

namespace tolva::winsys::testing {

class UnreadableFile : public platform::ForwardingFileSystem {
public:
    UnreadableFile(platform::FileSystem& inner, std::string path)
        : ForwardingFileSystem(inner), path_(std::move(path)) {}

    platform::Status ReadWholeFile(std::string_view path, std::string& content) const override {
        if (path == path_) {
            return platform::Status::Failure(platform::error::kReadFault, "read");
        }
        return ForwardingFileSystem::ReadWholeFile(path, content);
    }

private:
    std::string path_;
};

}  // namespace tolva::winsys::testing

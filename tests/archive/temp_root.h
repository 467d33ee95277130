#pragma once
// A fresh host folder per test, holding drive C: for the host file system, removed afterwards.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/host/host_file_system.h"

namespace tolva::archive::test {

class TempRoot {
public:
    TempRoot() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tolva-archive-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        std::filesystem::create_directories(root_ / "c");
    }
    ~TempRoot() {
        std::error_code ignored;
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // The host path of a Windows path below "C:\" given with slashes, such as "dest/a.txt".
    std::filesystem::path Host(const std::string& relative) const { return root_ / "c" / relative; }

    void Write(const std::string& relative, const std::string& content) const {
        std::filesystem::create_directories(Host(relative).parent_path());
        std::ofstream(Host(relative), std::ios::binary) << content;
    }
    std::string Read(const std::string& relative) const {
        std::ifstream in(Host(relative), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    bool Exists(const std::string& relative) const {
        return std::filesystem::exists(Host(relative));
    }

private:
    std::filesystem::path root_;
};

}  // namespace tolva::archive::test

#pragma once
// The machine the store fuzz targets run on: real files in a host folder of their own (in memory
// where /dev/shm exists), emptied between inputs, and a fixed clock and DNS list.

#include <unistd.h>
#include <filesystem>
#include <string>

#include "platform/fake/fake_system.h"
#include "platform/host/host_platform.h"
#include "util/string_file.h"

namespace tolva::stores::fuzzing {

class FuzzMachine {
public:
    FuzzMachine() : root_(MakeRoot()), host_(root_.string()) {
        services_ = host_.Services();
        services_.system = &system_;
        system_.SetDnsServers({"192.0.2.53"});
    }

    ~FuzzMachine() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    FuzzMachine(const FuzzMachine&) = delete;
    FuzzMachine& operator=(const FuzzMachine&) = delete;

    platform::Platform& Services() { return services_; }

    // Removes every file the last input left.
    void Clear() {
        std::error_code ignored;
        std::filesystem::remove_all(root_ / "c", ignored);
    }

    void Put(const std::string& path, const std::string& content) {
        (void)util::WriteCreatingFolders(*services_.files, path, content);
    }

private:
    static std::filesystem::path MakeRoot() {
        const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::filesystem::path root = base / ("tolva-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(root);
        return root;
    }

    std::filesystem::path root_;
    platform::HostPlatform host_;
    platform::FakeSystem system_;
    platform::Platform services_;
};

}  // namespace tolva::stores::fuzzing

// On Linux the host file system serves Windows paths below a root folder with one subfolder per
// drive. A private root whose drive Z: links to "/" makes every Linux path reachable as "Z:\..." .

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "ildspack/native.h"
#include "platform/host/host_file_system.h"

namespace tolva::ildspack {

namespace {

class HostNativeFiles : public NativeFiles {
public:
    HostNativeFiles(std::filesystem::path root)
        : root_(std::move(root)), files_(platform::HostPathMap(root_.string())) {}
    ~HostNativeFiles() override {
        std::error_code ignored;
        std::filesystem::remove(root_ / "z", ignored);  // the link only, never what it points to
        std::filesystem::remove(root_, ignored);
    }

    platform::FileSystem& Files() override { return files_; }

    std::string ToWindowsPath(const std::string& argument) const override {
        std::error_code ignored;
        std::string path = std::filesystem::absolute(argument, ignored).lexically_normal().string();
        std::replace(path.begin(), path.end(), '/', '\\');
        return "Z:" + path;
    }

private:
    std::filesystem::path root_;
    platform::HostFileSystem files_;
};

}  // namespace

std::unique_ptr<NativeFiles> OpenNativeFiles(std::string& error) {
    std::string pattern = (std::filesystem::temp_directory_path() / "ildspack-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        error = "cannot create a temporary folder";
        return nullptr;
    }
    const std::filesystem::path root = pattern;
    std::error_code failed;
    std::filesystem::create_directory_symlink("/", root / "z", failed);
    if (failed) {
        std::filesystem::remove(root, failed);
        error = "cannot create a link in " + root.string();
        return nullptr;
    }
    return std::make_unique<HostNativeFiles>(root);
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

}  // namespace tolva::ildspack

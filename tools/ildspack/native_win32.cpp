// On Windows the command line's paths are Windows paths already; the system file system takes them
// as they are.

#include <io.h>

#include <algorithm>
#include <cstdio>

#include "ildspack/native.h"
#include "platform/win32/win32_file_system.h"

namespace tolva::ildspack {

namespace {

class Win32NativeFiles : public NativeFiles {
public:
    platform::FileSystem& Files() override { return files_; }

    std::string ToWindowsPath(const std::string& argument) const override {
        std::string path = argument;
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

private:
    platform::Win32FileSystem files_;
};

}  // namespace

std::unique_ptr<NativeFiles> OpenNativeFiles(std::string&) {
    return std::make_unique<Win32NativeFiles>();
}

bool StandardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

}  // namespace tolva::ildspack

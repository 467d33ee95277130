#pragma once
// What ildspack needs of the system it runs on: a file system addressed by the paths given on the
// command line, and whether standard error is a terminal.

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace tolva::ildspack {

class NativeFiles {
public:
    virtual ~NativeFiles() = default;
    virtual platform::FileSystem& Files() = 0;
    // The Windows path under which Files() reaches a path given on the command line.
    virtual std::string ToWindowsPath(const std::string& argument) const = 0;
};

// Null when the file system cannot be set up; error then says why.
std::unique_ptr<NativeFiles> OpenNativeFiles(std::string& error);

bool StandardErrorIsTerminal();

}  // namespace tolva::ildspack

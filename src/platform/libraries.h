#pragma once
// Dynamic libraries and the process's current folder.

#include <memory>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tolva::platform {

// A loaded library. Move-only through its owner: the library is freed when the owner lets it go,
// so entry points looked up here must not be called after that.
class Library {
public:
    virtual ~Library() = default;
    // nullptr when the library has no entry point of that name.
    virtual void* Lookup(std::string_view entryPoint) const = 0;
};

class Libraries {
public:
    virtual ~Libraries() = default;

    // A full path loads exactly that file, the DLLs it needs taken from its own folder first. A
    // bare name searches the system's path; on Windows that is the system folder, then the folders
    // of PATH, never the program's or the current folder. library is set only on success.
    virtual Status Load(std::string_view pathOrName, std::unique_ptr<Library>& library) = 0;
    // The path as the file calls made inside a loaded library take it: the Windows path itself on
    // Windows, the host path on Linux.
    virtual std::string PathForLibrary(std::string_view path) const = 0;

    // With a trailing backslash.
    virtual std::string CurrentFolder() const = 0;
    virtual Status SetCurrentFolder(std::string_view folder) = 0;
};

}  // namespace tolva::platform

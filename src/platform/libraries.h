#pragma once
// Dynamic libraries and the process's current folder.

#include <string>
#include <string_view>

#include "platform/status.h"

namespace tolva::platform {

using LibraryHandle = void*;

class Libraries {
public:
    virtual ~Libraries() = default;

    // A full path loads exactly that file; a bare name searches the system's path.
    virtual Status Load(std::string_view pathOrName, LibraryHandle& handle) = 0;
    // nullptr when the library has no entry point of that name.
    virtual void* Lookup(LibraryHandle handle, std::string_view entryPoint) const = 0;
    virtual void Free(LibraryHandle handle) = 0;
    // The path as the file calls made inside a loaded library take it: the Windows path itself on
    // Windows, the host path on Linux.
    virtual std::string PathForLibrary(std::string_view path) const { return std::string(path); }

    // With a trailing backslash.
    virtual std::string CurrentFolder() const = 0;
    virtual Status SetCurrentFolder(std::string_view folder) = 0;
};

}  // namespace tolva::platform

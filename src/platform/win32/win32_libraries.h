#pragma once
// LoadLibrary and the process's current folder.

#include "platform/libraries.h"

namespace tolva::platform {

class Win32Libraries : public Libraries {
public:
    // A path with a backslash loads exactly that file, and the libraries it needs are looked for
    // beside it first; a bare name goes through the system's search.
    Status Load(std::string_view pathOrName, std::unique_ptr<Library>& library) override;
    // The Windows path itself.
    std::string PathForLibrary(std::string_view path) const override { return std::string(path); }

    std::string CurrentFolder() const override;
    Status SetCurrentFolder(std::string_view folder) override;
};

}  // namespace tolva::platform

#pragma once
// Shared objects through dlopen, and the process's current folder through the host path map.

#include "platform/host/host_path_map.h"
#include "platform/libraries.h"

namespace tolva::platform {

class HostLibraries : public Libraries {
public:
    explicit HostLibraries(HostPathMap paths) : paths_(std::move(paths)) {}

    // A name with a drive or a backslash is a Windows path under the root; anything else goes to
    // the dynamic loader's own search.
    Status Load(std::string_view pathOrName, std::unique_ptr<Library>& library) override;
    // Unchanged when the path does not map to the host.
    std::string PathForLibrary(std::string_view path) const override;

    // Empty when the current folder lies outside the root.
    std::string CurrentFolder() const override;
    Status SetCurrentFolder(std::string_view folder) override;

private:
    HostPathMap paths_;
};

}  // namespace tolva::platform

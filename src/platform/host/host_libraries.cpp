#include "platform/host/host_libraries.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/host/errno_mapping.h"
#include "platform/host/unique_shared_object.h"

namespace tolva::platform {
namespace {

constexpr uint32_t kModuleNotFound = 126;  // ERROR_MOD_NOT_FOUND

class SharedObject final : public Library {
public:
    explicit SharedObject(UniqueSharedObject handle) : handle_(std::move(handle)) {}
    void* Lookup(std::string_view entryPoint) const override {
        return ::dlsym(handle_.Get(), std::string(entryPoint).c_str());
    }

private:
    UniqueSharedObject handle_;
};

}  // namespace

Status HostLibraries::Load(std::string_view pathOrName, std::unique_ptr<Library>& library) {
    std::string file(pathOrName);
    if (file.find('\\') != std::string::npos || file.find(':') != std::string::npos) {
        if (!paths_.ToHost(pathOrName, file)) {
            return Status::Failure(error::kPathNotFound, "Load " + std::string(pathOrName));
        }
    }
    UniqueSharedObject loaded(::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!loaded.Valid()) {
        const char* reason = ::dlerror();
        return Status::Failure(kModuleNotFound, "Load " + std::string(pathOrName) + ": " +
                                                    (reason != nullptr ? reason : ""));
    }
    library = std::make_unique<SharedObject>(std::move(loaded));
    return Status::Ok();
}

std::string HostLibraries::PathForLibrary(std::string_view path) const {
    std::string hostPath;
    if (!paths_.ToHost(path, hostPath)) {
        return std::string(path);
    }
    return hostPath;
}

std::string HostLibraries::CurrentFolder() const {
    char buffer[PATH_MAX];
    std::string folder;
    if (::getcwd(buffer, sizeof buffer) == nullptr || !paths_.ToWindows(buffer, folder)) {
        return std::string();
    }
    if (folder.back() != '\\') {
        folder += '\\';
    }
    return folder;
}

Status HostLibraries::SetCurrentFolder(std::string_view folder) {
    std::string hostPath;
    if (!paths_.ToHost(folder, hostPath)) {
        return Status::Failure(error::kPathNotFound, "SetCurrentFolder " + std::string(folder));
    }
    if (::chdir(hostPath.c_str()) != 0) {
        return Status::Failure(WindowsErrorForPath(errno, hostPath),
                               "SetCurrentFolder " + std::string(folder));
    }
    return Status::Ok();
}

}  // namespace tolva::platform

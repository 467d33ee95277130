#include "platform/host/host_libraries.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/host/errno_mapping.h"

namespace tolva::platform {
namespace {

constexpr uint32_t kModuleNotFound = 126;  // ERROR_MOD_NOT_FOUND

}  // namespace

Status HostLibraries::Load(std::string_view pathOrName, LibraryHandle& handle) {
    std::string file(pathOrName);
    if (file.find('\\') != std::string::npos || file.find(':') != std::string::npos) {
        if (!paths_.ToHost(pathOrName, file)) {
            return Status::Failure(error::kPathNotFound, "Load " + std::string(pathOrName));
        }
    }
    void* loaded = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (loaded == nullptr) {
        const char* reason = ::dlerror();
        return Status::Failure(kModuleNotFound, "Load " + std::string(pathOrName) + ": " +
                                                    (reason != nullptr ? reason : ""));
    }
    handle = loaded;
    return Status::Ok();
}

void* HostLibraries::Lookup(LibraryHandle handle, std::string_view entryPoint) const {
    if (handle == nullptr) {
        return nullptr;
    }
    return ::dlsym(handle, std::string(entryPoint).c_str());
}

void HostLibraries::Free(LibraryHandle handle) {
    if (handle != nullptr) {
        ::dlclose(handle);
    }
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

#pragma once
// Libraries held in memory: a test makes a library loadable under a full path or a bare name with
// the entry points it exports. The current folder is the one of the in-memory file system, so that
// relative paths follow it as they follow the process's current folder on Windows.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/memory_file_system.h"
#include "platform/fake/windows_1252.h"
#include "platform/libraries.h"

namespace tolva::platform {

class FakeLibraries : public Libraries {
public:
    explicit FakeLibraries(MemoryFileSystem& files) : files_(files) {}

    // A full path is loaded only by that path; a bare name is what the system's search finds.
    void Add(std::string pathOrName, std::map<std::string, void*> entryPoints);

    // Names that no library was added under fail with ERROR_MOD_NOT_FOUND.
    Status Load(std::string_view pathOrName, std::unique_ptr<Library>& library) override;
    // Libraries in memory take the Windows path itself.
    std::string PathForLibrary(std::string_view path) const override { return std::string(path); }
    std::string CurrentFolder() const override { return files_.CurrentFolder(); }
    Status SetCurrentFolder(std::string_view folder) override {
        return files_.SetCurrentFolder(folder);
    }

    // Every name given to Load, in order.
    const std::vector<std::string>& Loads() const { return loads_; }
    // How many loads of the library added under pathOrName are not freed yet.
    int LoadedCount(std::string_view pathOrName) const;

private:
    struct Added {
        std::map<std::string, void*> entryPoints;
        int loaded = 0;
    };
    class Loaded;

    // A full path stands for itself; a bare name stays as it is.
    std::string Key(std::string_view pathOrName) const;

    MemoryFileSystem& files_;
    std::map<std::string, std::shared_ptr<Added>, CaseInsensitiveLess> added_;
    std::vector<std::string> loads_;
};

}  // namespace tolva::platform

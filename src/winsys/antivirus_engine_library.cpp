#include "winsys/antivirus_engine_library.h"

#include <cstdint>

#include "winsys/antivirus_entry_points.h"

namespace tolva::winsys {

namespace {

// Makes a folder current for as long as it lives.
class CurrentFolderSwitch {
public:
    CurrentFolderSwitch(platform::Libraries& libraries, std::string_view folder)
        : libraries_(libraries), previous_(libraries.CurrentFolder()) {
        (void)libraries_.SetCurrentFolder(folder);
    }
    ~CurrentFolderSwitch() { (void)libraries_.SetCurrentFolder(previous_); }
    CurrentFolderSwitch(const CurrentFolderSwitch&) = delete;
    CurrentFolderSwitch& operator=(const CurrentFolderSwitch&) = delete;

private:
    platform::Libraries& libraries_;
    std::string previous_;
};

template <typename Function>
Function As(void* entryPoint) {
    return reinterpret_cast<Function>(reinterpret_cast<uintptr_t>(entryPoint));
}

}  // namespace

bool AntivirusEngineLibrary::Load(std::string_view folder) {
    Unload();
    const CurrentFolderSwitch current(libraries_, folder);
    if (!libraries_.Load(std::string(folder) + setiface::kLibraryName, library_)) {
        return false;
    }
    folder_ = std::string(folder);
    return true;
}

void* AntivirusEngineLibrary::EntryPoint(const char* name) const {
    return library_ == nullptr ? nullptr : library_->Lookup(name);
}

bool AntivirusEngineLibrary::InstallProgram(std::string_view targetFolder) {
    const auto install = As<setiface::InstallProgramFn>(EntryPoint(setiface::kInstallProgram));
    if (install == nullptr) {
        return false;
    }
    const std::string setupProgram = folder_ + setiface::kSetupProgramName;
    const std::string target(targetFolder);
    uint32_t status = 0;
    const CurrentFolderSwitch current(libraries_, folder_);
    return install(setiface::kPartnerName, setupProgram.c_str(), target.c_str(),
                   "/minicore /noreboot /forceinstall", setiface::kPartnerMode, &status) == 0;
}

bool AntivirusEngineLibrary::UpdateFiles() {
    const auto update = As<setiface::EngineCallFn>(EntryPoint(setiface::kUpdateFiles));
    uint32_t status = 0;
    return update != nullptr &&
           update(setiface::kPartnerName, "/overwrite", setiface::kPartnerMode, &status) == 0 &&
           status == setiface::kStatusDone;
}

bool AntivirusEngineLibrary::UninstallProgram() {
    const auto uninstall = As<setiface::EngineCallFn>(EntryPoint(setiface::kUninstallProgram));
    uint32_t status = 0;
    return uninstall != nullptr &&
           uninstall(setiface::kPartnerName, nullptr, setiface::kPartnerMode, &status) == 0 &&
           status == setiface::kStatusDone;
}

}  // namespace tolva::winsys

#include "setup/module_fetch.h"

#include <algorithm>

namespace tolva::setup {

namespace {

void AddMissing(const platform::FileSystem& files, std::string_view setupFolder, int32_t key,
                std::vector<std::string>& list) {
    for (const TPackageItem& package : GetPackages(key)) {
        if (!files.FileExists(std::string(setupFolder) + package.FileName) &&
            std::find(list.begin(), list.end(), package.FileName) == list.end()) {
            list.push_back(package.FileName);
        }
    }
}

}  // namespace

bool IsAdminOnlyInstall(const ComponentSelection& selected) {
    return !selected[component_key::kServicesAndCoreFiles] &&
           selected[component_key::kAdministrationInterface];
}

std::vector<std::string> MissingArchives(const platform::FileSystem& files,
                                         std::string_view setupFolder,
                                         const ComponentSelection& selected) {
    std::vector<std::string> list;
    for (const TModuleItem& row : kPackageTable) {
        if (selected[static_cast<size_t>(row.Key)]) {
            AddMissing(files, setupFolder, row.Key, list);
        }
    }
    const auto administration = std::find(list.begin(), list.end(), kAdministrationArchive);
    if (IsAdminOnlyInstall(selected)) {
        const bool listed = administration != list.end();
        list.clear();
        if (listed) {
            list.emplace_back(kAdministrationArchive);
        }
        return list;
    }
    if (administration != list.end()) {
        list.erase(administration);
    }
    AddMissing(files, setupFolder, component_key::kServicesAndCoreFiles, list);
    return list;
}

}  // namespace tolva::setup

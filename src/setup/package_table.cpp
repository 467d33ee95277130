#include "setup/package_table.h"

#include "util/text.h"

namespace tolva::setup {

TPackageList GetPackages(int32_t key) {
    const TModuleItem* row = &kPackageTable.front();
    for (const TModuleItem& item : kPackageTable) {
        if (item.Key == key) {
            row = &item;
            break;
        }
    }
    TPackageList packages;
    for (const std::string& item : util::SplitText(row->Packages, ',')) {
        const std::string entry = util::Trim(item);
        if (entry.empty()) {
            continue;
        }
        const size_t bar = entry.find('|');
        if (bar == std::string::npos) {
            packages.push_back({entry, ""});
        } else {
            packages.push_back({util::Trim(std::string_view(entry).substr(0, bar)),
                                util::Trim(std::string_view(entry).substr(bar + 1))});
        }
    }
    return packages;
}

std::string PackageFolder(int32_t key) {
    const TPackageList packages = GetPackages(key);
    return packages.empty() ? std::string() : packages.front().Folder;
}

}  // namespace tolva::setup

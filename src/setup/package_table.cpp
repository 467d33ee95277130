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
    std::string_view rest = row->Packages;
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string specification = util::Trim(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        if (specification.empty()) {
            continue;
        }
        const size_t bar = specification.find('|');
        if (bar == std::string::npos) {
            packages.push_back({specification, ""});
        } else {
            packages.push_back({util::Trim(std::string_view(specification).substr(0, bar)),
                                util::Trim(std::string_view(specification).substr(bar + 1))});
        }
    }
    return packages;
}

}  // namespace tolva::setup

#include "provisioning/odbc_data_sources.h"

#include <algorithm>

#include "util/text.h"

namespace tolva::provisioning {

std::vector<std::string> ListOdbcDataSources(const platform::Registry& registry,
                                             platform::RegistryRoot root) {
    std::vector<std::string> names;
    if (!registry.ListValueNames(root, "SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources", names).ok()) {
        return {};
    }
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return util::LowerCase(a) < util::LowerCase(b);
    });
    return names;
}

}  // namespace tolva::provisioning

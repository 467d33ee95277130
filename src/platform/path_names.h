#pragma once
// The names of a Windows path below its root, for the implementations that resolve paths
// themselves.

#include <string_view>
#include <vector>

namespace tolva::platform {

// Splits at every "\" or "/" and resolves as Windows does: empty names and "." are dropped, and
// ".." takes away the name before it but never climbs above the root.
inline std::vector<std::string_view> ResolvePathNames(std::string_view path) {
    std::vector<std::string_view> names;
    while (!path.empty()) {
        const size_t end = path.find_first_of("\\/");
        const std::string_view name = path.substr(0, end);
        path.remove_prefix(end == std::string_view::npos ? path.size() : end + 1);
        if (name.empty() || name == ".") {
            continue;
        }
        if (name == "..") {
            if (!names.empty()) {
                names.pop_back();
            }
            continue;
        }
        names.push_back(name);
    }
    return names;
}

}  // namespace tolva::platform

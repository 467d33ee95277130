#include "platform/host/host_path_map.h"

#include <unistd.h>

#include <cctype>
#include <climits>
#include <vector>

#include "platform/path_names.h"

namespace tolva::platform {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

std::string CurrentHostFolder() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

}  // namespace

HostPathMap::HostPathMap(std::string root) : root_(std::move(root)) {
    if (root_.empty() || root_[0] != '/') {
        std::string cwd = CurrentHostFolder();
        root_ = root_.empty() ? cwd : cwd + "/" + root_;
    }
    while (root_.size() > 1 && root_.back() == '/') {
        root_.pop_back();
    }
}

bool HostPathMap::ToHost(std::string_view windowsPath, std::string& hostPath) const {
    std::string_view path = windowsPath;
    char drive = 0;
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        drive = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
        path.remove_prefix(2);
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        return false;
    } else {
        std::string current;
        if (!ToWindows(CurrentHostFolder(), current)) {
            return false;
        }
        if (path.empty() || !IsSeparator(path[0])) {
            if (current.back() != '\\') {
                current += '\\';
            }
            return ToHost(current + std::string(path), hostPath);
        }
        drive = static_cast<char>(std::tolower(static_cast<unsigned char>(current[0])));
    }

    const std::vector<std::string_view> parts = ResolvePathNames(path);
    hostPath = root_ + "/" + drive;
    for (std::string_view part : parts) {
        hostPath += '/';
        hostPath += part;
    }
    return true;
}

bool HostPathMap::ToWindows(std::string_view hostPath, std::string& windowsPath) const {
    if (hostPath.size() < root_.size() + 2 || hostPath.substr(0, root_.size()) != root_ ||
        hostPath[root_.size()] != '/') {
        return false;
    }
    std::string_view rest = hostPath.substr(root_.size() + 1);
    if (!std::isalpha(static_cast<unsigned char>(rest[0])) || (rest.size() > 1 && rest[1] != '/')) {
        return false;
    }
    windowsPath.assign(1, static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0]))));
    windowsPath += ":\\";
    for (char c : rest.substr(std::min<size_t>(rest.size(), 2))) {
        windowsPath += c == '/' ? '\\' : c;
    }
    while (windowsPath.size() > 3 && windowsPath.back() == '\\') {
        windowsPath.pop_back();
    }
    return true;
}

}  // namespace tolva::platform

#include "util/folder_path.h"

#include <vector>

#include "util/text.h"

namespace tolva::util {
namespace {

// The path's root (none for "C:\...", "\\server\share\" for a share) and the parts below it,
// each followed by a backslash; ".." never climbs above the drive or the share.
std::string ResolvedFolder(std::string_view path) {
    std::string text(path);
    for (char& c : text) {
        if (c == '/') {
            c = '\\';
        }
    }
    std::vector<std::string> parts = SplitText(text, '\\');
    std::string root;
    size_t first = 0;
    if (text.starts_with("\\\\")) {
        // "", "", server, share
        root = "\\\\";
        first = 2;
        for (int shareParts = 0; shareParts < 2 && first < parts.size(); ++first) {
            if (!parts[first].empty()) {
                root += parts[first] + "\\";
                ++shareParts;
            }
        }
    }
    std::vector<std::string> kept;
    for (size_t i = first; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            // A drive ("C:") stays as the root.
            if (!kept.empty() && !(kept.size() == 1 && root.empty() && kept[0].ends_with(':'))) {
                kept.pop_back();
            }
            continue;
        }
        kept.push_back(part);
    }
    std::string resolved = root;
    for (const std::string& part : kept) {
        resolved += part + "\\";
    }
    return resolved;
}

}  // namespace

std::string WithTrailingBackslash(std::string_view folder) {
    std::string result(folder);
    if (!result.empty() && result.back() != '\\' && result.back() != '/') {
        result += '\\';
    }
    return result;
}

bool IsFullPath(std::string_view path) {
    const char letter = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);
    const bool drive = path.size() >= 3 && letter >= 'a' && letter <= 'z' && path[1] == ':' &&
                       (path[2] == '\\' || path[2] == '/');
    return drive || path.starts_with("\\\\") || path.starts_with("//");
}

bool SameFolder(std::string_view a, std::string_view b) {
    if (a.empty() || b.empty()) {
        return false;
    }
    return SameText(ResolvedFolder(a), ResolvedFolder(b));
}

}  // namespace tolva::util

#include "setup/extraction_folder.h"

#include <optional>
#include <vector>

#include "archive/delete_folder_tree.h"
#include "util/folder_path.h"
#include "util/text.h"

namespace tolva::setup {

namespace {

constexpr int kNames = 9;

// The parent folder's entry for path (without a trailing backslash): how Windows lists a junction
// or symbolic link, which FolderExists would follow.
std::optional<platform::FolderEntry> EntryOf(const platform::FileSystem& files,
                                             std::string_view path) {
    const size_t separator = path.find_last_of('\\');
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    std::vector<platform::FolderEntry> entries;
    if (!files.ListFolder(path.substr(0, separator + 1), entries)) {
        return std::nullopt;
    }
    const std::string_view name = path.substr(separator + 1);
    for (platform::FolderEntry& entry : entries) {
        if (util::SameText(entry.name, name)) {
            return std::move(entry);
        }
    }
    return std::nullopt;
}

bool IsLink(const platform::FolderEntry& entry) {
    return (entry.attributes & platform::file_attribute::kReparsePoint) != 0;
}

// Clears what an earlier run left under the name; a link goes as a link.
void ClearName(platform::FileSystem& files, const std::string& path) {
    const std::optional<platform::FolderEntry> entry = EntryOf(files, path);
    if (!entry || !entry->isFolder) {
        return;
    }
    if (IsLink(*entry)) {
        (void)files.RemoveEmptyFolder(path + "\\");
    } else {
        archive::DeleteFolderTree(files, path + "\\");
    }
}

// Whether folder (without a trailing backslash) is inner or one of its parents.
bool Holds(const std::string& folder, std::string_view inner) {
    const std::string prefix = folder + "\\";
    return inner.size() >= prefix.size() && util::SameText(inner.substr(0, prefix.size()), prefix);
}

bool MakeFresh(platform::FileSystem& files, const std::string& path) {
    ClearName(files, path);
    if (EntryOf(files, path) || !files.CreateFolders(path + "\\")) {
        return false;
    }
    const std::optional<platform::FolderEntry> made = EntryOf(files, path);
    std::vector<platform::FolderEntry> content;
    return made && made->isFolder && !IsLink(*made) && files.ListFolder(path + "\\", content) &&
           content.empty();
}

}  // namespace

std::string MakeFreshExtractionFolder(platform::FileSystem& files, std::string_view folder,
                                      std::string_view keep) {
    std::string base(folder);
    while (!base.empty() && base.back() == '\\') {
        base.pop_back();
    }
    if (base.empty()) {
        return {};
    }
    for (int number = 1; number <= kNames; ++number) {
        const std::string path = number == 1 ? base : base + std::to_string(number);
        if (!Holds(path, util::WithTrailingBackslash(keep)) && MakeFresh(files, path)) {
            return path + "\\";
        }
    }
    return {};
}

}  // namespace tolva::setup

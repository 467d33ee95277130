#include "archive/delete_folder_tree.h"

#include <string>
#include <vector>

#include "util/folder_path.h"

namespace tolva::archive {

void DeleteFolderTree(platform::FileSystem& files, std::string_view folder) {
    if (folder.empty()) {
        return;
    }
    // The link itself, not what a trailing backslash would lead into.
    std::string_view itself = folder;
    while (itself.size() > 1 && (itself.back() == '\\' || itself.back() == '/')) {
        itself.remove_suffix(1);
    }
    uint32_t attributes = 0;
    if (files.GetAttributes(itself, attributes) &&
        (attributes & platform::file_attribute::kReparsePoint) != 0) {
        (void)files.RemoveEmptyFolder(itself);  // a link goes as a link, its target untouched
        return;
    }
    const std::string prefix = util::WithTrailingBackslash(folder);

    std::vector<platform::FolderEntry> entries;
    if (files.ListFolder(prefix, entries)) {
        for (const platform::FolderEntry& entry : entries) {
            const std::string path = prefix + entry.name;
            if (!entry.isFolder) {
                (void)files.RemoveFile(path);
            } else {
                DeleteFolderTree(files, path);
            }
        }
    }
    (void)files.RemoveEmptyFolder(prefix);
}

}  // namespace tolva::archive

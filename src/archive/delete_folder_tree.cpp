#include "archive/delete_folder_tree.h"

#include <string>
#include <vector>

#include "util/folder_path.h"

namespace tolva::archive {

void DeleteFolderTree(platform::FileSystem& files, std::string_view folder) {
    if (folder.empty()) {
        return;
    }
    const std::string prefix = util::WithTrailingBackslash(folder);

    std::vector<platform::FolderEntry> entries;
    if (files.ListFolder(prefix, entries)) {
        for (const platform::FolderEntry& entry : entries) {
            const std::string path = prefix + entry.name;
            if (!entry.isFolder) {
                (void)files.RemoveFile(path);
            } else if (entry.attributes & platform::file_attribute::kReparsePoint) {
                // Removing the link itself leaves its target alone; descending would empty the
                // target.
                (void)files.RemoveEmptyFolder(path);
            } else {
                DeleteFolderTree(files, path);
            }
        }
    }
    (void)files.RemoveEmptyFolder(prefix);
}

}  // namespace tolva::archive

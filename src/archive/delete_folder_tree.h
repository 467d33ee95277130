#pragma once
// Removal of a folder with everything in it.

#include <string_view>

#include "platform/file_system.h"

namespace tolva::archive {

// Deletes every file in folder and its subfolders, removes the emptied folders and finally folder
// itself. What cannot be deleted (read-only or open files) stays, with the folders that hold it;
// nothing is reported. A folder that is a link (a junction or symbolic link) is removed as a link;
// what it points to is never touched.
void DeleteFolderTree(platform::FileSystem& files, std::string_view folder);

}  // namespace tolva::archive

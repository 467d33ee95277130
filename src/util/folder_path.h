#pragma once
// Folder paths are held with a trailing backslash and joined with names by plain concatenation.

#include <string>
#include <string_view>

namespace tolva::util {

// The folder with a backslash added unless it ends in a backslash or "/"; an empty folder stays
// empty, so that it keeps meaning "no folder" rather than the root of the current drive.
std::string WithTrailingBackslash(std::string_view folder);

// Whether the path names its drive or server ("C:\...", "\\server\..."), so that it means the
// same folder whatever the current folder is.
bool IsFullPath(std::string_view path);

// Whether two full folder paths name the same folder as Windows resolves them: without regard to
// case, "/" taken as "\", repeated separators, "." and ".." parts resolved, with or without a
// trailing backslash. An empty path names no folder and matches nothing.
bool SameFolder(std::string_view a, std::string_view b);

}  // namespace tolva::util

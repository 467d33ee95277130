#pragma once
// Folder paths are held with a trailing backslash and joined with names by plain concatenation.

#include <string>
#include <string_view>

namespace tolva::util {

// The folder with a backslash added unless it ends in a backslash or "/"; an empty folder stays
// empty, so that it keeps meaning "no folder" rather than the root of the current drive.
std::string WithTrailingBackslash(std::string_view folder);

}  // namespace tolva::util

#pragma once
// The extraction folder of one run. Downloaded archives and setup.dat are unpacked into it and it
// is deleted with everything in it at the end, so it must be a folder this run made: what an
// earlier run or another user left under that name in the temporary folder is not trusted, and a
// link or junction there would send the files elsewhere and make the final deletion empty its
// target.

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tolva::setup {

// Tries folder and then folder with a number appended ("tolvainstall2\" ... "tolvainstall9\"):
// a real folder left under the name is deleted, a link is removed as a link (its target left
// alone), and a name that something else still holds is passed over. Returns the first name that
// was made afresh as an empty folder, with a trailing backslash; empty when none could be.
std::string MakeFreshExtractionFolder(platform::FileSystem& files, std::string_view folder);

}  // namespace tolva::setup

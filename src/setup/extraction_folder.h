#pragma once
// The extraction folder of one run, made fresh once at start-up before anything is unpacked into
// it: the languages of setuplang.dat, then the downloaded archives and setup.dat. The install
// sequence deletes it with everything in it at the end, so it must be a folder this run made: what
// an earlier run or another user left under that name in the temporary folder is not trusted, and
// a link or junction there would send the files elsewhere and make the final deletion empty its
// target.

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tolva::setup {

// Tries folder and then folder with a number appended ("tolvainstall2\" ... "tolvainstall9\"):
// a name that holds the folder keep (the setup program's own, when it was started from inside an
// earlier extraction folder) is passed over untouched; a real folder left under the name is
// deleted, a link is removed as a link (its target left alone), and a name that something else
// still holds is passed over. Returns the first name that was made afresh as an empty folder, with
// a trailing backslash; empty when none could be.
std::string MakeFreshExtractionFolder(platform::FileSystem& files, std::string_view folder,
                                      std::string_view keep);

}  // namespace tolva::setup

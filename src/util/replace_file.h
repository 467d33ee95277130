#pragma once
// Replacing a file's content so that a failure halfway leaves the previous content in place.

#include <string_view>

#include "platform/file_system.h"

namespace tolva::util {

// Writes the content beside the file (its name + ".new") and moves it over the file in one step.
// False when that fails; the file then holds what it held before and nothing is left beside it.
[[nodiscard]] bool ReplaceFileContent(platform::FileSystem& files, std::string_view path,
                                      std::string_view content);

}  // namespace tolva::util

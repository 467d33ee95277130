#pragma once
// Whole files as 8-bit strings, for small text files such as XML documents.

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tolva::util {

// File names longer than this are cut to it.
inline constexpr size_t kMaxFileNameLength = 255;

// The whole file, its name cut to the maximum length; false, with content empty, when it cannot be
// read. An empty file reads as true.
[[nodiscard]] bool ReadStringFromFile(const platform::FileSystem& files, std::string_view fileName,
                                      std::string& content);

// The whole file; empty when it cannot be read.
std::string LoadStringFromFile(const platform::FileSystem& files, std::string_view fileName);
// The same, then the file is removed when deleteAfterwards is set.
std::string LoadStringFromFile(platform::FileSystem& files, std::string_view fileName,
                               bool deleteAfterwards);

// Replaces the file at path with the content, or with append adds to it (creating it when
// missing). When that fails, the missing folders of the path are created and the write is tried
// once more. The path is taken as it is.
[[nodiscard]] bool WriteCreatingFolders(platform::FileSystem& files, std::string_view path,
                                        std::string_view content, bool append = false);

// Writes the content to a file beside path (path + ".new") and moves that over path in one step,
// so that path holds either its old content or all of the new one; the file beside is removed
// again on failure. With createFolders the missing folders of the path are created when the file
// beside cannot be, and its creation is tried once more. The path is taken as it is.
[[nodiscard]] bool ReplaceFileWhole(platform::FileSystem& files, std::string_view path,
                                    std::string_view content, bool createFolders);

// WriteCreatingFolders with the file name cut to the maximum length. With deleteWhenEmpty an empty
// content removes the file instead; true when it is gone.
[[nodiscard]] bool SaveStringToFile(platform::FileSystem& files, std::string_view content,
                                    std::string_view fileName, bool deleteWhenEmpty, bool append);

}  // namespace tolva::util

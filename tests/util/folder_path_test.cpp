#include "util/folder_path.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tolva::util {
namespace {

TEST(FolderPath, TrailingBackslash) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Tolva", "C:\\Tolva\\"},
        {"C:\\Tolva\\", "C:\\Tolva\\"},
        {"D:/Mail/", "D:/Mail/"},
        {"C:", "C:\\"},
        {"", ""},
    };
    for (const auto& [folder, expected] : cases) {
        EXPECT_EQ(WithTrailingBackslash(folder), expected) << "input: \"" << folder << "\"";
    }
}

}  // namespace
}  // namespace tolva::util

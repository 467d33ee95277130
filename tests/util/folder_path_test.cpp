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

TEST(FolderPath, FullPaths) {
    const std::pair<const char*, bool> cases[] = {
        {"C:\\Tolva\\logs\\", true},
        {"d:/mail/", true},
        {"\\\\srv\\share\\", true},
        {"logs\\", false},
        {"C:logs\\", false},
        {"\\logs\\", false},
        {"", false},
    };
    for (const auto& [path, full] : cases) {
        EXPECT_EQ(IsFullPath(path), full) << "input: \"" << path << "\"";
    }
}

TEST(FolderPath, SameFolder) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"C:\\Program Files\\Tolva\\", "c:\\PROGRAM FILES\\tolva", true},
        {"C:\\Program Files\\Tolva\\", "C:/Program Files//Tolva/", true},
        {"C:\\Program Files\\Tolva\\", "C:\\Program Files\\x\\..\\.\\Tolva\\", true},
        {"C:\\Tolva\\", "C:\\..\\Tolva\\", true},
        {"\\\\srv\\share\\Tolva\\", "\\\\SRV\\share\\..\\Tolva", true},
        {"C:\\Program Files\\Tolva\\", "C:\\Users\\ann\\Downloads\\", false},
        {"C:\\Program Files\\Tolva\\", "D:\\Program Files\\Tolva\\", false},
        {"C:\\Program Files\\Tolva\\", "C:\\Program Files\\Tolva\\sub\\", false},
        {"C:\\Program Files\\Tolva\\", "C:\\Program Files\\Tolva2\\", false},
        {"", "", false},
        {"C:\\Tolva\\", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SameFolder(c.a, c.b), c.same) << c.a << " | " << c.b;
    }
}

}  // namespace
}  // namespace tolva::util

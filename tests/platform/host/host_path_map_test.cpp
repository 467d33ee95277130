#include "platform/host/host_path_map.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

namespace tolva::platform {
namespace {

TEST(HostPathMapTest, WindowsPathsMapUnderTheRoot) {
    HostPathMap map("/srv/root/");
    struct Case {
        const char* windows;
        const char* host;  // nullptr: refused
    } cases[] = {
        {"C:\\", "/srv/root/c"},
        {"C:\\Program Files\\Tolva\\", "/srv/root/c/Program Files/Tolva"},
        {"d:\\data\\x.cfg", "/srv/root/d/data/x.cfg"},
        {"C:\\a\\.\\b\\\\c", "/srv/root/c/a/b/c"},
        {"C:\\a\\b\\..\\c", "/srv/root/c/a/c"},
        {"C:\\..\\..\\etc\\passwd", "/srv/root/c/etc/passwd"},
        {"C:/mixed/slashes", "/srv/root/c/mixed/slashes"},
        {"\\\\server\\share\\x", nullptr},
    };
    for (const Case& c : cases) {
        std::string host;
        bool mapped = map.ToHost(c.windows, host);
        EXPECT_EQ(mapped, c.host != nullptr) << c.windows;
        if (c.host != nullptr) {
            EXPECT_EQ(host, c.host) << c.windows;
        }
    }
}

TEST(HostPathMapTest, HostPathsMapBackOnlyFromInsideTheRoot) {
    HostPathMap map("/srv/root");
    struct Case {
        const char* host;
        const char* windows;  // nullptr: outside
    } cases[] = {
        {"/srv/root/c", "C:\\"},
        {"/srv/root/c/Program Files/Tolva/", "C:\\Program Files\\Tolva"},
        {"/srv/root/d/x", "D:\\x"},
        {"/srv/rootless/c/x", nullptr},
        {"/srv/root", nullptr},
        {"/srv/root/cd/x", nullptr},
        {"/etc", nullptr},
    };
    for (const Case& c : cases) {
        std::string windows;
        bool mapped = map.ToWindows(c.host, windows);
        EXPECT_EQ(mapped, c.windows != nullptr) << c.host;
        if (c.windows != nullptr) {
            EXPECT_EQ(windows, c.windows) << c.host;
        }
    }
}

TEST(HostPathMapTest, PathsWithoutDriveFollowTheCurrentFolder) {
    char saved[PATH_MAX];
    ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
    std::string root = std::filesystem::temp_directory_path() / "tolva-path-map-XXXXXX";
    ASSERT_NE(::mkdtemp(root.data()), nullptr);
    std::filesystem::create_directories(root + "/d/work");
    HostPathMap map(root);

    ASSERT_EQ(::chdir((root + "/d/work").c_str()), 0);
    struct Case {
        const char* windows;
        std::string host;
    } cases[] = {
        {"x\\y.txt", root + "/d/work/x/y.txt"},
        {"\\top", root + "/d/top"},
        {"..\\..\\..\\up", root + "/d/up"},
    };
    for (const Case& c : cases) {
        std::string host;
        EXPECT_TRUE(map.ToHost(c.windows, host)) << c.windows;
        EXPECT_EQ(host, c.host) << c.windows;
    }
    ASSERT_EQ(::chdir("/"), 0);
    std::string host;
    EXPECT_FALSE(map.ToHost("relative", host)) << "the current folder lies outside the root";

    ASSERT_EQ(::chdir(saved), 0);
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace tolva::platform

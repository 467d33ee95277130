#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>

#include "platform/host/unique_dir.h"
#include "platform/host/unique_fd.h"
#include "platform/host/unique_shared_object.h"

namespace tolva::platform {
namespace {

bool FdOpen(int fd) {
    return ::fcntl(fd, F_GETFD) != -1;
}

TEST(HostHandleOwnerTest, FdMoveAssignmentReleasesTheHeldDescriptor) {
    UniqueFd first(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    UniqueFd second(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    const int firstFd = first.Get(), secondFd = second.Get();
    ASSERT_TRUE(FdOpen(firstFd));

    first = std::move(second);
    EXPECT_FALSE(FdOpen(firstFd));
    EXPECT_EQ(first.Get(), secondFd);
    EXPECT_FALSE(second.Valid());

    UniqueFd moved(std::move(first));
    EXPECT_TRUE(FdOpen(secondFd));
    int released = moved.Release();
    EXPECT_FALSE(moved.Valid());
    EXPECT_TRUE(FdOpen(released)) << "Release hands the descriptor over without closing it";
    moved.Reset(released);
    moved.Reset();
    EXPECT_FALSE(FdOpen(released));
}

TEST(HostHandleOwnerTest, DirMoveAssignmentClosesTheHeldStream) {
    UniqueDir first(::opendir("/"));
    UniqueDir second(::opendir("/"));
    ASSERT_TRUE(first.Valid() && second.Valid());
    const int firstFd = ::dirfd(first.Get());

    first = std::move(second);
    EXPECT_FALSE(FdOpen(firstFd));
    EXPECT_TRUE(FdOpen(::dirfd(first.Get())));
}

TEST(HostHandleOwnerTest, SharedObjectMoveAssignmentUnloadsTheHeldLibrary) {
    constexpr char kLibrary[] = "libz.so.1";
    ASSERT_EQ(::dlopen(kLibrary, RTLD_NOW | RTLD_NOLOAD), nullptr) << "loaded by someone else";
    UniqueSharedObject first(::dlopen(kLibrary, RTLD_NOW));
    ASSERT_TRUE(first.Valid());
    UniqueSharedObject second;

    first = std::move(second);
    EXPECT_EQ(::dlopen(kLibrary, RTLD_NOW | RTLD_NOLOAD), nullptr);
}

}  // namespace
}  // namespace tolva::platform

#include "platform/libraries.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "test_platform.h"

namespace tolva::platform {
namespace {

class LibrariesTest : public ::testing::Test {
protected:
    testing::TestPlatform test;
    Libraries& libraries = *test.Services().libraries;
};

TEST_F(LibrariesTest, LoadsLooksUpAndFreesWhenTheOwnerGoes) {
    ASSERT_FALSE(test.SystemLibraryLoaded()) << "loaded by someone else";
    std::unique_ptr<Library> library;
    Status status = libraries.Load(test.SystemLibrary(), library);
    ASSERT_TRUE(status.ok()) << status.what();
    EXPECT_TRUE(test.SystemLibraryLoaded());
    EXPECT_NE(library->Lookup(test.SystemLibraryEntryPoint()), nullptr);
    EXPECT_EQ(library->Lookup("NoSuchEntryPointAnywhere"), nullptr);

    std::unique_ptr<Library> moved = std::move(library);
    EXPECT_TRUE(test.SystemLibraryLoaded());
    moved.reset();
    EXPECT_FALSE(test.SystemLibraryLoaded());
}

TEST_F(LibrariesTest, MissingLibraryFailsAndHandsOutNothing) {
    std::unique_ptr<Library> library;
    EXPECT_FALSE(libraries.Load(test.Scratch() + "absent.dll", library).ok());
    EXPECT_FALSE(libraries.Load("tolva-absent-library.dll", library).ok());
    EXPECT_EQ(library, nullptr);
}

TEST_F(LibrariesTest, PathForLibraryReachesTheSameFile) {
    if (!test.FilesAreOnDisk()) {
        GTEST_SKIP() << "libraries in memory open no files of their own";
    }
    const std::string path = test.Scratch() + "shared.db";
    ASSERT_TRUE(test.Services().files->WriteWholeFile(path, "data").ok());
    std::FILE* file = std::fopen(libraries.PathForLibrary(path).c_str(), "rb");
    ASSERT_NE(file, nullptr) << libraries.PathForLibrary(path);
    char content[8] = {};
    EXPECT_EQ(std::fread(content, 1, sizeof content, file), 4u);
    std::fclose(file);
    EXPECT_STREQ(content, "data");
}

TEST_F(LibrariesTest, CurrentFolderFollowsSetAndServesRelativePaths) {
    const std::string before = libraries.CurrentFolder();
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before.back(), '\\');

    ASSERT_TRUE(libraries.SetCurrentFolder(test.Scratch()).ok());
    EXPECT_EQ(libraries.CurrentFolder(), test.Scratch());
    FileSystem& files = *test.Services().files;
    ASSERT_TRUE(files.WriteWholeFile("relative.txt", "here").ok());
    EXPECT_TRUE(files.FileExists(test.Scratch() + "relative.txt"));

    EXPECT_EQ(libraries.SetCurrentFolder(test.Scratch() + "absent").code(), error::kFileNotFound);
    EXPECT_EQ(libraries.SetCurrentFolder(test.Scratch() + "absent\\deeper").code(),
              error::kPathNotFound);
    ASSERT_TRUE(libraries.SetCurrentFolder(before).ok());
}

}  // namespace
}  // namespace tolva::platform

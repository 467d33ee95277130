#include "archive/delete_folder_tree.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/temp_root.h"

namespace tolva::archive {
namespace {

class DeleteFolderTreeTest : public ::testing::Test {
protected:
    test::TempRoot root_;
    platform::HostFileSystem files_{platform::HostPathMap(root_.root().string())};
};

TEST_F(DeleteFolderTreeTest, RemovesEverythingBelowAndTheFolder) {
    root_.Write("tree/a.txt", "a");
    root_.Write("tree/sub/b.txt", "b");
    root_.Write("tree/sub/deeper/c.txt", "c");
    std::filesystem::create_directories(root_.Host("tree/empty"));
    root_.Write("beside.txt", "stays");
    DeleteFolderTree(files_, "C:\\tree");
    EXPECT_FALSE(root_.Exists("tree"));
    EXPECT_TRUE(root_.Exists("beside.txt"));
}

TEST_F(DeleteFolderTreeTest, LeavesWhatCannotBeDeletedWithTheFoldersHoldingIt) {
    root_.Write("tree/a.txt", "a");
    root_.Write("tree/keep/locked.txt", "locked");
    root_.Write("tree/keep/free.txt", "free");
    root_.Write("tree/gone/b.txt", "b");
    std::filesystem::permissions(root_.Host("tree/keep/locked.txt"),
                                 std::filesystem::perms::owner_read);
    DeleteFolderTree(files_, "C:\\tree\\");
    EXPECT_TRUE(root_.Exists("tree/keep/locked.txt"));
    EXPECT_FALSE(root_.Exists("tree/keep/free.txt"));
    EXPECT_FALSE(root_.Exists("tree/a.txt"));
    EXPECT_FALSE(root_.Exists("tree/gone"));
}

TEST_F(DeleteFolderTreeTest, LinksGoAsLinksAndTheirTargetsStay) {
    namespace fs = std::filesystem;
    const char* folders[] = {"C:\\tree", "C:\\tree\\"};
    for (const char* folder : folders) {
        SCOPED_TRACE(folder);
        root_.Write("target/kept.txt", "kept");
        fs::create_directory_symlink(root_.Host("target"), root_.Host("tree"));
        DeleteFolderTree(files_, folder);
        EXPECT_FALSE(fs::exists(fs::symlink_status(root_.Host("tree"))));
        EXPECT_EQ(root_.Read("target/kept.txt"), "kept");
    }
    root_.Write("tree/a.txt", "a");
    fs::create_directory_symlink(root_.Host("target"), root_.Host("tree/inner"));
    DeleteFolderTree(files_, "C:\\tree");
    EXPECT_FALSE(root_.Exists("tree"));
    EXPECT_EQ(root_.Read("target/kept.txt"), "kept");
}

TEST_F(DeleteFolderTreeTest, MissingFolderIsNoError) {
    DeleteFolderTree(files_, "C:\\nothing\\here");
    DeleteFolderTree(files_, "");
    EXPECT_TRUE(std::filesystem::exists(root_.Host("")));
}

}  // namespace
}  // namespace tolva::archive

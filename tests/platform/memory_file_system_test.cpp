// What the in-memory file system adds to its contract: its folder rules, its view of paths, the
// current folder and the clock it stamps files with.

#include "platform/fake/memory_file_system.h"

#include <gtest/gtest.h>

namespace tolva::platform {
namespace {

using Folders = MemoryFileSystem::Folders;

TEST(MemoryFileSystemTest, FoldersMustBeCreatedOnlyWhenAsked) {
    MemoryFileSystem strict(Folders::kMustBeCreated);
    EXPECT_TRUE(strict.WriteWholeFile("C:\\top.txt", "x").ok());
    EXPECT_EQ(strict.WriteWholeFile("C:\\a\\b\\f.txt", "x").code(), error::kPathNotFound);
    std::unique_ptr<OutputFile> output;
    EXPECT_EQ(strict.OpenForWrite("C:\\a\\b\\f.txt", output).code(), error::kPathNotFound);
    EXPECT_EQ(strict.AppendToFile("D:\\x.txt", "x").code(), error::kPathNotFound);
    EXPECT_FALSE(strict.FolderExists("C:\\a"));

    // Given without its backslash, the folder and its parents still come into being.
    ASSERT_TRUE(strict.CreateFolders("C:\\a\\b").ok());
    EXPECT_TRUE(strict.FolderExists("C:\\a"));
    EXPECT_TRUE(strict.FolderExists("C:\\a\\b\\"));
    EXPECT_TRUE(strict.WriteWholeFile("C:\\a\\b\\f.txt", "x").ok());
    EXPECT_TRUE(strict.WriteWholeFile("C:\\a\\g.txt", "x").ok());
    EXPECT_EQ(strict.CreatedFolders(), std::vector<std::string>{"C:\\a\\b"});

    // A file put in directly brings its folders, and they stay when it goes.
    strict.files["C:\\put\\in\\f.txt"] = "x";
    EXPECT_TRUE(strict.FolderExists("C:\\put\\in"));
    ASSERT_TRUE(strict.RemoveFile("C:\\put\\in\\f.txt").ok());
    EXPECT_TRUE(strict.FolderExists("C:\\put\\in"));

    MemoryFileSystem open;
    EXPECT_TRUE(open.FolderExists("D:\\never\\made\\"));
    EXPECT_TRUE(open.WriteWholeFile("D:\\never\\made\\f.txt", "x").ok());
    EXPECT_FALSE(open.FolderExists("D:\\never\\made\\f.txt")) << "a file is no folder";
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(open.ListFolder("D:\\never", entries).ok());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "made");
    EXPECT_TRUE(entries[0].isFolder);
}

TEST(MemoryFileSystemTest, PathsResolveAsWindowsResolvesThem) {
    MemoryFileSystem files(Folders::kMustBeCreated, {"C:\\Work\\Sub"});
    ASSERT_TRUE(files.SetCurrentFolder("C:\\Work").ok());
    EXPECT_EQ(files.CurrentFolder(), "C:\\Work\\");
    struct Case {
        const char* given;
        const char* full;
    } cases[] = {
        {"C:\\a\\b", "C:\\a\\b"},
        {"C:/a//b/", "C:\\a\\b"},
        {"C:\\a\\.\\b\\..\\c", "C:\\a\\c"},
        {"C:\\..\\..\\a", "C:\\a"},
        {"C:\\a\\name.txt. .", "C:\\a\\name.txt"},
        {"rel.txt", "C:\\Work\\rel.txt"},
        {"Sub\\..\\..\\up.txt", "C:\\up.txt"},
        {"\\rooted.txt", "C:\\rooted.txt"},
        {"C:drive.txt", "C:\\Work\\drive.txt"},
        {"D:other.txt", "D:\\other.txt"},
        {"\\\\server\\share\\x\\..\\..\\y", "\\\\server\\share\\y"},
        {"C:\\", "C:\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(files.FullPath(c.given), c.full) << c.given;
    }
    ASSERT_TRUE(files.WriteWholeFile("sub\\f.txt", "x").ok());
    EXPECT_EQ(files.files.begin()->first, "C:\\Work\\Sub\\f.txt") << "as the folder is spelled";
    EXPECT_EQ(files.files["c:\\work\\SUB\\F.TXT"], "x");
    EXPECT_EQ(files.SetCurrentFolder("C:\\Work\\sub\\f.txt").code(), error::kFileNotFound);
}

TEST(MemoryFileSystemTest, EveryChangeStampsTheClockAndMovesItOn) {
    MemoryFileSystem files;
    ASSERT_TRUE(files.WriteWholeFile("C:\\a.txt", "a").ok());
    ASSERT_TRUE(files.WriteWholeFile("C:\\b.txt", "b").ok());
    FileTime a = 0, b = 0;
    ASSERT_TRUE(files.GetFileTime("C:\\a.txt", a).ok());
    ASSERT_TRUE(files.GetFileTime("C:\\b.txt", b).ok());
    EXPECT_EQ(b - a, 10000000u) << "one second per change";
    ASSERT_TRUE(files.MoveTo("C:\\a.txt", "C:\\moved.txt", false).ok());
    FileTime moved = 0;
    ASSERT_TRUE(files.GetFileTime("C:\\moved.txt", moved).ok());
    EXPECT_EQ(moved, a) << "a move keeps the time";
}

TEST(MemoryFileSystemTest, FoldersMoveWithEverythingBelowThem) {
    MemoryFileSystem files(Folders::kMustBeCreated);
    ASSERT_TRUE(files.CreateFolders("C:\\old\\empty").ok());
    files.files["C:\\old\\deep\\f.txt"] = "f";
    ASSERT_TRUE(files.SetAttributes("C:\\old\\deep\\f.txt", file_attribute::kReadOnly).ok());
    std::unique_ptr<InputFile> held;
    ASSERT_TRUE(files.OpenForRead("C:\\old\\deep\\f.txt", held).ok());
    EXPECT_EQ(files.MoveTo("C:\\old", "C:\\new", false).code(), error::kAccessDenied)
        << "a folder with an open file in it stays";
    held.reset();
    EXPECT_EQ(files.MoveTo("C:\\old", "C:\\old\\deep\\inside", false).code(), 32u);

    ASSERT_TRUE(files.MoveTo("C:\\old", "C:\\new", false).ok());
    EXPECT_FALSE(files.FolderExists("C:\\old"));
    EXPECT_TRUE(files.FolderExists("C:\\new\\empty"));
    EXPECT_EQ(files.files["C:\\new\\deep\\f.txt"], "f");
    EXPECT_EQ(files.RemoveFile("C:\\new\\deep\\f.txt").code(), error::kAccessDenied)
        << "attributes move along";

    // As on NTFS, a move to another spelling of the same name renames.
    ASSERT_TRUE(files.MoveTo("C:\\new", "C:\\NEW", false).ok());
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(files.ListFolder("C:\\", entries).ok());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "NEW");
    EXPECT_EQ(files.files.begin()->first, "C:\\NEW\\deep\\f.txt");
}

TEST(MemoryFileSystemTest, DrivesComeFromWhatExistsAndWhatIsAdded) {
    MemoryFileSystem files(Folders::kMustBeCreated, {"e:\\Data"});
    files.files["d:\\setup.exe"] = "x";
    files.AddDrive({"n:\\", DriveType::kRemote, "share"});
    std::vector<DriveEntry> drives;
    ASSERT_TRUE(files.ListDrives(drives).ok());
    EXPECT_EQ(drives, (std::vector<DriveEntry>{
                          {"C:\\"}, {"D:\\"}, {"E:\\"}, {"N:\\", DriveType::kRemote, "share"}}));
    EXPECT_TRUE(files.FolderExists("N:\\"));
    EXPECT_TRUE(files.CreateFolders("N:\\Tolva").ok());
}

}  // namespace
}  // namespace tolva::platform

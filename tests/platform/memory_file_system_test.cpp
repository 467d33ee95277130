// The in-memory file system the layers' tests run on: its folder rules, fault switches and streams.

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
    EXPECT_EQ(strict.AppendToFile("bare.txt", "x").code(), error::kPathNotFound);
    EXPECT_FALSE(strict.FolderExists("C:\\a"));

    // Given without its backslash, the folder and its parents still come into being.
    ASSERT_TRUE(strict.CreateFolders("C:\\a\\b").ok());
    EXPECT_TRUE(strict.FolderExists("C:\\a"));
    EXPECT_TRUE(strict.FolderExists("C:\\a\\b\\"));
    EXPECT_TRUE(strict.WriteWholeFile("C:\\a\\b\\f.txt", "x").ok());
    EXPECT_TRUE(strict.WriteWholeFile("C:\\a\\g.txt", "x").ok());
    EXPECT_EQ(strict.CreatedFolders(), std::vector<std::string>{"C:\\a\\b"});
    EXPECT_FALSE(strict.FileExists("C:\\a\\b\\g.txt"));

    MemoryFileSystem open;
    EXPECT_TRUE(open.FolderExists("D:\\never\\made\\"));
    EXPECT_TRUE(open.WriteWholeFile("D:\\never\\made\\f.txt", "x").ok());
    EXPECT_TRUE(open.OpenForWrite("bare.txt", output).ok());
}

TEST(MemoryFileSystemTest, SwitchedOnFaultsChangeNothing) {
    MemoryFileSystem files;
    files.files["C:\\f.txt"] = "old";
    files.failWrites = true;
    EXPECT_EQ(files.WriteWholeFile("C:\\f.txt", "new").code(), error::kDiskFull);
    EXPECT_EQ(files.AppendToFile("C:\\f.txt", "+").code(), error::kDiskFull);
    EXPECT_EQ(files.CopyOver("C:\\f.txt", "C:\\g.txt").code(), error::kDiskFull);
    // A full disk shows when the data is written, not when the file is opened.
    std::unique_ptr<OutputFile> output;
    ASSERT_TRUE(files.OpenForWrite("C:\\h.txt", output).ok());
    EXPECT_EQ(output->Write("data", 4).code(), error::kDiskFull);
    EXPECT_EQ(files.files["C:\\h.txt"], "");
    files.failWrites = false;

    files.failMoves = true;
    EXPECT_EQ(files.MoveTo("C:\\f.txt", "C:\\m.txt", true).code(), error::kAccessDenied);
    EXPECT_EQ(files.files["C:\\f.txt"], "old");
    EXPECT_FALSE(files.FileExists("C:\\m.txt"));
    EXPECT_FALSE(files.FileExists("C:\\g.txt"));
}

TEST(MemoryFileSystemTest, MovesReplaceOnlyWhenAskedAndNothingCopiesOntoItself) {
    MemoryFileSystem files;
    files.files["C:\\a"] = "A";
    files.files["C:\\b"] = "B";
    EXPECT_EQ(files.CopyOver("C:\\a", "C:\\a").code(), 32u);
    EXPECT_EQ(files.files["C:\\a"], "A");
    EXPECT_EQ(files.MoveTo("C:\\a", "C:\\b", false).code(), error::kAlreadyExists);
    EXPECT_EQ(files.files["C:\\a"], "A");
    EXPECT_EQ(files.files["C:\\b"], "B");
    ASSERT_TRUE(files.MoveTo("C:\\a", "C:\\b", true).ok());
    EXPECT_FALSE(files.FileExists("C:\\a"));
    EXPECT_EQ(files.files["C:\\b"], "A");
    EXPECT_EQ(files.MoveTo("C:\\a", "C:\\c", true).code(), error::kFileNotFound);
}

TEST(MemoryFileSystemTest, StreamsWriteThroughAndReadToTheEnd) {
    MemoryFileSystem files;
    files.files["C:\\f.bin"] = "stale";
    std::unique_ptr<OutputFile> output;
    ASSERT_TRUE(files.OpenForWrite("C:\\f.bin", output).ok());
    EXPECT_EQ(files.files["C:\\f.bin"], "") << "opening truncates";
    ASSERT_TRUE(output->Write("abc", 3).ok());
    ASSERT_TRUE(output->Write(std::string("d\0e", 3).data(), 3).ok());
    ASSERT_TRUE(output->Close().ok());
    EXPECT_EQ(files.files["C:\\f.bin"], std::string("abcd\0e", 6));

    std::unique_ptr<InputFile> input;
    ASSERT_TRUE(files.OpenForRead("C:\\f.bin", input).ok());
    EXPECT_EQ(input->Size(), 6u);
    std::string read;
    char buffer[4];
    size_t got = 0;
    do {
        ASSERT_TRUE(input->Read(buffer, sizeof buffer, got).ok());
        read.append(buffer, got);
    } while (got > 0);
    EXPECT_EQ(read, files.files["C:\\f.bin"]);
    EXPECT_EQ(files.OpenForRead("C:\\none", input).code(), error::kFileNotFound);
}

}  // namespace
}  // namespace tolva::platform

#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "test_platform.h"

namespace tolva::platform {
namespace {

class FileSystemTest : public ::testing::Test {
protected:
    testing::TestPlatform test;
    FileSystem& files = *test.Services().files;
    const std::string dir = test.Scratch();

    void Write(const std::string& path, std::string_view content) {
        ASSERT_TRUE(files.WriteWholeFile(path, content).ok()) << path;
    }
    std::string Read(const std::string& path) {
        std::string content;
        Status status = files.ReadWholeFile(path, content);
        EXPECT_TRUE(status.ok()) << path << ": " << status.code() << " " << status.what();
        return content;
    }
};

TEST_F(FileSystemTest, WholeFilesRoundTripBytesAndTruncate) {
    const std::string binary("a\0b\xFF\r\n\x80z", 8);
    Write(dir + "data.bin", binary);
    EXPECT_EQ(Read(dir + "data.bin"), binary);

    Write(dir + "data.bin", "short");
    EXPECT_EQ(Read(dir + "data.bin"), "short");

    Write(dir + "empty.txt", "");
    EXPECT_EQ(Read(dir + "empty.txt"), "");

    ASSERT_TRUE(files.AppendToFile(dir + "log.txt", "one\r\n").ok());
    ASSERT_TRUE(files.AppendToFile(dir + "log.txt", "two\r\n").ok());
    EXPECT_EQ(Read(dir + "log.txt"), "one\r\ntwo\r\n");
}

TEST_F(FileSystemTest, ExistenceTellsFilesFromFolders) {
    Write(dir + "file.txt", "x");
    ASSERT_TRUE(files.CreateFolders(dir + "sub").ok());
    struct Case {
        std::string path;
        bool file, folder;
    } cases[] = {
        {dir + "file.txt", true, false},
        {dir + "sub", false, true},
        {dir + "sub\\", false, true},
        {dir + "missing", false, false},
        {dir + "missing\\deeper.txt", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(files.FileExists(c.path), c.file) << c.path;
        EXPECT_EQ(files.FolderExists(c.path), c.folder) << c.path;
    }
}

TEST_F(FileSystemTest, CreateFoldersMakesParentsAndAcceptsExisting) {
    ASSERT_TRUE(files.CreateFolders(dir + "a\\b\\c\\").ok());
    EXPECT_TRUE(files.FolderExists(dir + "a\\b\\c"));
    EXPECT_TRUE(files.CreateFolders(dir + "a\\b").ok());

    Write(dir + "plain", "x");
    EXPECT_FALSE(files.CreateFolders(dir + "plain").ok());
    EXPECT_FALSE(files.CreateFolders(dir + "plain\\below").ok());
}

TEST_F(FileSystemTest, FailuresCarryWindowsCodes) {
    ASSERT_TRUE(files.CreateFolders(dir + "full").ok());
    Write(dir + "full\\x.txt", "x");
    Write(dir + "existing.txt", "x");
    std::string content;
    std::vector<FolderEntry> entries;
    struct Case {
        const char* what;
        Status status;
        uint32_t code;
    } cases[] = {
        {"read missing file", files.ReadWholeFile(dir + "nope.txt", content), error::kFileNotFound},
        {"read in missing folder", files.ReadWholeFile(dir + "no\\x.txt", content),
         error::kPathNotFound},
        {"write in missing folder", files.WriteWholeFile(dir + "no\\x.txt", "x"),
         error::kPathNotFound},
        {"read a folder", files.ReadWholeFile(dir + "full", content), error::kAccessDenied},
        {"remove missing file", files.RemoveFile(dir + "nope.txt"), error::kFileNotFound},
        {"remove a folder as file", files.RemoveFile(dir + "full"), error::kAccessDenied},
        {"remove full folder", files.RemoveEmptyFolder(dir + "full"), error::kDirNotEmpty},
        {"list missing folder", files.ListFolder(dir + "no", entries), error::kPathNotFound},
        {"move onto existing", files.MoveTo(dir + "full\\x.txt", dir + "existing.txt", false),
         error::kAlreadyExists},
        {"move missing", files.MoveTo(dir + "nope.txt", dir + "other.txt", true),
         error::kFileNotFound},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.status.code(), c.code) << c.what << ": " << c.status.what();
    }
    EXPECT_EQ(Read(dir + "existing.txt"), "x");
    EXPECT_TRUE(files.FileExists(dir + "full\\x.txt"));
}

TEST_F(FileSystemTest, CopyOverReplacesAndKeepsSource) {
    Write(dir + "new.dat", "new content");
    Write(dir + "old.dat", "old");
    ASSERT_TRUE(files.CopyOver(dir + "new.dat", dir + "old.dat").ok());
    ASSERT_TRUE(files.CopyOver(dir + "new.dat", dir + "fresh.dat").ok());
    EXPECT_EQ(Read(dir + "old.dat"), "new content");
    EXPECT_EQ(Read(dir + "fresh.dat"), "new content");
    EXPECT_EQ(Read(dir + "new.dat"), "new content");

    FileTime source = 0, copy = 0;
    ASSERT_TRUE(files.GetFileTime(dir + "new.dat", source).ok());
    ASSERT_TRUE(files.GetFileTime(dir + "fresh.dat", copy).ok());
    EXPECT_EQ(source / 10000000, copy / 10000000) << "a copy keeps the last write time";

    EXPECT_FALSE(files.CopyOver(dir + "new.dat", dir + "new.dat").ok());
    EXPECT_FALSE(files.CopyOver(dir + "new.dat", dir + ".\\new.dat").ok());
    EXPECT_EQ(Read(dir + "new.dat"), "new content") << "a copy onto itself loses nothing";
}

TEST_F(FileSystemTest, MoveRenamesFilesAndFoldersAndReplacesOnRequest) {
    Write(dir + "a.txt", "A");
    Write(dir + "b.txt", "B");
    ASSERT_TRUE(files.MoveTo(dir + "a.txt", dir + "b.txt", true).ok());
    EXPECT_FALSE(files.FileExists(dir + "a.txt"));
    EXPECT_EQ(Read(dir + "b.txt"), "A");

    ASSERT_TRUE(files.MoveTo(dir + "b.txt", dir + "c.txt", false).ok());
    EXPECT_EQ(Read(dir + "c.txt"), "A");

    ASSERT_TRUE(files.CreateFolders(dir + "old\\inner").ok());
    ASSERT_TRUE(files.MoveTo(dir + "old", dir + "new", false).ok());
    EXPECT_TRUE(files.FolderExists(dir + "new\\inner"));
    EXPECT_FALSE(files.FolderExists(dir + "old"));
}

TEST_F(FileSystemTest, MoveInTakesAFileIntoAnotherFolderReplacingItsTarget) {
    ASSERT_TRUE(files.CreateFolders(dir + "from\\").ok());
    ASSERT_TRUE(files.CreateFolders(dir + "into\\").ok());
    Write(dir + "from\\a.txt", "new");
    Write(dir + "into\\a.txt", "old");
    ASSERT_TRUE(files.MoveIn(dir + "from\\a.txt", dir + "into\\a.txt").ok());
    EXPECT_FALSE(files.FileExists(dir + "from\\a.txt"));
    EXPECT_EQ(Read(dir + "into\\a.txt"), "new");
    // A copy would be readable and writable by whoever may use the folder: so is the moved file.
    std::unique_ptr<UpdateFile> update;
    ASSERT_TRUE(files.OpenForUpdate(dir + "into\\a.txt", false, update).ok());
    ASSERT_TRUE(update->Close().ok());

    EXPECT_EQ(files.MoveIn(dir + "from\\gone.txt", dir + "into\\gone.txt").code(),
              error::kFileNotFound);

    // A folder moves whole, with what it holds, where nothing of its name is yet.
    ASSERT_TRUE(files.CreateFolders(dir + "from\\tree\\deep\\").ok());
    Write(dir + "from\\tree\\deep\\b.txt", "tree");
    ASSERT_TRUE(files.MoveIn(dir + "from\\tree\\", dir + "into\\tree\\").ok());
    EXPECT_FALSE(files.FolderExists(dir + "from\\tree\\"));
    EXPECT_EQ(Read(dir + "into\\tree\\deep\\b.txt"), "tree");
    ASSERT_TRUE(files.OpenForUpdate(dir + "into\\tree\\deep\\b.txt", false, update).ok());
    ASSERT_TRUE(update->Close().ok());
    // Onto a folder that is there it is refused, both left as they were.
    ASSERT_TRUE(files.CreateFolders(dir + "from\\tree\\").ok());
    Write(dir + "from\\tree\\c.txt", "again");
    EXPECT_FALSE(files.MoveIn(dir + "from\\tree\\", dir + "into\\tree\\").ok());
    EXPECT_EQ(Read(dir + "from\\tree\\c.txt"), "again");
    EXPECT_EQ(Read(dir + "into\\tree\\deep\\b.txt"), "tree");
    EXPECT_FALSE(files.FileExists(dir + "into\\tree\\c.txt"));
}

TEST_F(FileSystemTest, ReadOnlyFilesResistUntilAttributesAreReset) {
    Write(dir + "locked.cfg", "keep");
    Write(dir + "other.cfg", "other");
    test.MakeReadOnly(dir + "locked.cfg");

    std::vector<FolderEntry> entries;
    ASSERT_TRUE(files.ListFolder(dir, entries).ok());
    for (const FolderEntry& entry : entries) {
        bool readOnly = (entry.attributes & file_attribute::kReadOnly) != 0;
        EXPECT_EQ(readOnly, entry.name == "locked.cfg") << entry.name;
    }

    EXPECT_EQ(files.WriteWholeFile(dir + "locked.cfg", "x").code(), error::kAccessDenied);
    EXPECT_EQ(files.CopyOver(dir + "other.cfg", dir + "locked.cfg").code(), error::kAccessDenied);
    EXPECT_EQ(files.MoveTo(dir + "other.cfg", dir + "locked.cfg", true).code(),
              error::kAccessDenied);
    EXPECT_EQ(files.MoveIn(dir + "other.cfg", dir + "locked.cfg").code(), error::kAccessDenied);
    EXPECT_EQ(files.RemoveFile(dir + "locked.cfg").code(), error::kAccessDenied);
    EXPECT_EQ(Read(dir + "locked.cfg"), "keep");

    ASSERT_TRUE(files.SetNormalAttributes(dir + "locked.cfg").ok());
    EXPECT_TRUE(files.RemoveFile(dir + "locked.cfg").ok());
    EXPECT_FALSE(files.FileExists(dir + "locked.cfg"));
}

TEST_F(FileSystemTest, ListFolderNamesEachEntryOnce) {
    ASSERT_TRUE(files.CreateFolders(dir + "folder").ok());
    Write(dir + "one.txt", "1");
    Write(dir + "two.txt", "22");
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(files.ListFolder(dir + "", entries).ok());
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "folder");
    EXPECT_TRUE(entries[0].isFolder);
    EXPECT_NE(entries[0].attributes & file_attribute::kDirectory, 0u);
    EXPECT_EQ(entries[1].name, "one.txt");
    EXPECT_FALSE(entries[1].isFolder);
    EXPECT_EQ(entries[1].attributes & file_attribute::kDirectory, 0u);

    std::vector<FolderEntry> none;
    ASSERT_TRUE(files.ListFolder(dir + "folder", none).ok());
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(files.RemoveEmptyFolder(dir + "folder\\").ok());
    EXPECT_FALSE(files.FolderExists(dir + "folder"));
}

TEST_F(FileSystemTest, LinksReportThemselvesAndGoAsLinks) {
    ASSERT_TRUE(files.CreateFolders(dir + "target").ok());
    Write(dir + "target\\inside.txt", "kept");
    if (!test.MakeFolderLink(dir + "link", dir + "target")) {
        GTEST_SKIP() << "this system makes no folder links";
    }
    uint32_t attributes = 0;
    ASSERT_TRUE(files.GetAttributes(dir + "link", attributes).ok());
    EXPECT_NE(attributes & file_attribute::kReparsePoint, 0u);
    EXPECT_NE(attributes & file_attribute::kDirectory, 0u);
    ASSERT_TRUE(files.GetAttributes(dir + "target", attributes).ok());
    EXPECT_EQ(attributes & file_attribute::kReparsePoint, 0u);
    EXPECT_NE(attributes & file_attribute::kDirectory, 0u);
    ASSERT_TRUE(files.GetAttributes(dir + "target\\inside.txt", attributes).ok());
    EXPECT_EQ(attributes & (file_attribute::kReparsePoint | file_attribute::kDirectory), 0u);
    EXPECT_FALSE(files.GetAttributes(dir + "missing", attributes).ok());

    // Paths below the link lead into its target.
    EXPECT_EQ(Read(dir + "link\\inside.txt"), "kept");
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(files.ListFolder(dir, entries).ok());
    const auto link = std::find_if(entries.begin(), entries.end(),
                                   [](const FolderEntry& entry) { return entry.name == "link"; });
    ASSERT_NE(link, entries.end());
    EXPECT_TRUE(link->isFolder);
    EXPECT_NE(link->attributes & file_attribute::kReparsePoint, 0u);

    // Removing the link leaves its target and what it holds.
    EXPECT_TRUE(files.RemoveEmptyFolder(dir + "link").ok());
    EXPECT_FALSE(files.FolderExists(dir + "link"));
    EXPECT_EQ(Read(dir + "target\\inside.txt"), "kept");
}

TEST_F(FileSystemTest, AvailableSpaceOfAnExistingFolderOnly) {
    uint64_t bytes = 0;
    ASSERT_TRUE(files.AvailableSpace(dir, bytes).ok());
    EXPECT_GT(bytes, 0u);
    uint64_t missing = 0;
    EXPECT_FALSE(files.AvailableSpace(dir + "missing\\deeper\\", missing).ok());
}

TEST_F(FileSystemTest, SizeAndTimeOfAFile) {
    Write(dir + "sized.bin", std::string(70000, 'x'));
    uint64_t size = 0;
    ASSERT_TRUE(files.GetFileSize(dir + "sized.bin", size).ok());
    EXPECT_EQ(size, 70000u);
    EXPECT_EQ(files.GetFileSize(dir + "missing.bin", size).code(), error::kFileNotFound);

    FileTime written = 0;
    ASSERT_TRUE(files.GetFileTime(dir + "sized.bin", written).ok());
    constexpr FileTime kYear2020 = 132223104000000000ULL;
    constexpr FileTime kYear2100 = 159309216000000000ULL;
    EXPECT_GT(written, kYear2020);
    EXPECT_LT(written, kYear2100);
}

TEST_F(FileSystemTest, StreamsWriteAndReadInPieces) {
    std::unique_ptr<OutputFile> out;
    ASSERT_TRUE(files.OpenForWrite(dir + "stream.bin", out).ok());
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        std::string piece(1000 + i, static_cast<char>('a' + i % 26));
        ASSERT_TRUE(out->Write(piece.data(), piece.size()).ok());
        expected += piece;
    }
    ASSERT_TRUE(out->Close().ok());
    EXPECT_FALSE(out->Write("x", 1).ok()) << "a closed file takes no more data";

    std::unique_ptr<InputFile> in;
    ASSERT_TRUE(files.OpenForRead(dir + "stream.bin", in).ok());
    EXPECT_EQ(in->Size(), expected.size());
    std::string got;
    char buffer[4096];
    for (;;) {
        size_t count = 0;
        ASSERT_TRUE(in->Read(buffer, sizeof buffer, count).ok());
        if (count == 0) {
            break;
        }
        got.append(buffer, count);
    }
    EXPECT_EQ(got, expected);

    EXPECT_EQ(files.OpenForRead(dir + "absent.bin", in).code(), error::kFileNotFound);
    EXPECT_EQ(files.OpenForWrite(dir + "absent\\x.bin", out).code(), error::kPathNotFound);
}

TEST_F(FileSystemTest, NamesFollowWindowsRules) {
    if (!test.FilesFollowWindowsRules()) {
        GTEST_SKIP() << "names on this file system compare case by case";
    }
    // e with acute and A with diaeresis, letters of Windows-1252 beyond ASCII.
    Write(dir + "Caf\xE9 \xC4.txt", "first");
    ASSERT_TRUE(files.CreateFolders(dir + "Folder").ok());
    struct Case {
        std::string path;
        bool file, folder;
    } cases[] = {
        {dir + "CAF\xC9 \xE4.TXT", true, false},
        {dir + "caf\xE9 \xC4.txt. ", true, false},
        {dir + "folder\\..\\Caf\xE9 \xC4.txt", true, false},
        {dir + "FOLDER", false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(files.FileExists(c.path), c.file) << c.path;
        EXPECT_EQ(files.FolderExists(c.path), c.folder) << c.path;
    }
    Write(dir + "CAF\xC9 \xC4.TXT", "second");
    EXPECT_EQ(Read(dir + "caf\xE9 \xE4.txt"), "second");
    EXPECT_FALSE(files.CopyOver(dir + "Caf\xE9 \xC4.txt", dir + "CAF\xC9 \xC4.txt").ok())
        << "a copy onto itself under another spelling";

    std::vector<FolderEntry> entries;
    ASSERT_TRUE(files.ListFolder(dir, entries).ok());
    ASSERT_EQ(entries.size(), 2u);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    EXPECT_EQ(entries[0].name, "Caf\xE9 \xC4.txt") << "the name keeps its first spelling";
}

TEST_F(FileSystemTest, OpenFilesAreSharedAsTheyWereOpened) {
    if (!test.FilesFollowWindowsRules()) {
        GTEST_SKIP() << "this file system shares every open file";
    }
    constexpr uint32_t kSharingViolation = 32;
    Write(dir + "held.bin", "held");
    std::unique_ptr<InputFile> reader;
    ASSERT_TRUE(files.OpenForRead(dir + "held.bin", reader).ok());
    EXPECT_EQ(Read(dir + "held.bin"), "held") << "readers share with readers";
    EXPECT_EQ(files.RemoveFile(dir + "held.bin").code(), kSharingViolation);
    Write(dir + "other.bin", "other");
    EXPECT_EQ(files.MoveTo(dir + "other.bin", dir + "held.bin", true).code(), error::kAccessDenied);
    EXPECT_EQ(files.MoveTo(dir + "held.bin", dir + "moved.bin", false).code(), kSharingViolation);
    reader.reset();

    std::unique_ptr<OutputFile> writer;
    ASSERT_TRUE(files.OpenForWrite(dir + "held.bin", writer).ok());
    std::unique_ptr<OutputFile> second;
    EXPECT_EQ(files.OpenForWrite(dir + "held.bin", second).code(), kSharingViolation);
    EXPECT_EQ(files.AppendToFile(dir + "held.bin", "x").code(), kSharingViolation);
    ASSERT_TRUE(files.OpenForRead(dir + "held.bin", reader).ok()) << "a writer lets others read";
    reader.reset();
    ASSERT_TRUE(writer->Close().ok());
    EXPECT_TRUE(files.RemoveFile(dir + "held.bin").ok()) << "closed files are free again";
}

TEST_F(FileSystemTest, UpdateInPlaceWhileAReaderHoldsTheFile) {
    std::unique_ptr<UpdateFile> update;
    EXPECT_EQ(files.OpenForUpdate(dir + "absent.bin", false, update).code(), error::kFileNotFound);
    ASSERT_TRUE(files.OpenForUpdate(dir + "records.bin", true, update).ok());
    EXPECT_EQ(update->Size(), 0u);
    ASSERT_TRUE(update->WriteAt(0, "aaaabbbbcccc", 12).ok());
    ASSERT_TRUE(update->Close().ok());

    std::unique_ptr<InputFile> reader;
    ASSERT_TRUE(files.OpenForRead(dir + "records.bin", reader).ok());
    char first[4];
    size_t count = 0;
    ASSERT_TRUE(reader->Read(first, sizeof first, count).ok());
    ASSERT_TRUE(files.OpenForUpdate(dir + "records.bin", false, update).ok());
    ASSERT_TRUE(update->WriteAt(4, "BBBB", 4).ok());
    ASSERT_TRUE(update->WriteAt(12, "dddd", 4).ok());
    EXPECT_EQ(update->Size(), 16u);
    char middle[4];
    ASSERT_TRUE(update->ReadAt(8, middle, sizeof middle, count).ok());
    EXPECT_EQ(std::string(middle, count), "cccc");
    ASSERT_TRUE(update->ReadAt(14, middle, sizeof middle, count).ok());
    EXPECT_EQ(count, 2u) << "reading stops at the end of the file";
    ASSERT_TRUE(update->Close().ok());
    ASSERT_TRUE(reader->Read(first, sizeof first, count).ok());
    EXPECT_EQ(std::string(first, count), "BBBB") << "the reader sees what was written in place";
    reader.reset();
    EXPECT_EQ(Read(dir + "records.bin"), "aaaaBBBBccccdddd");
}

TEST_F(FileSystemTest, DrivesAreListedByLetterWithTheScratchFolderOnAFixedOne) {
    std::vector<DriveEntry> drives;
    ASSERT_TRUE(files.ListDrives(drives).ok());
    ASSERT_FALSE(drives.empty());
    for (size_t i = 0; i < drives.size(); ++i) {
        const std::string& root = drives[i].root;
        ASSERT_EQ(root.size(), 3u) << root;
        EXPECT_TRUE(root[0] >= 'A' && root[0] <= 'Z' && root.substr(1) == ":\\") << root;
        if (i > 0) {
            EXPECT_LT(drives[i - 1].root, root) << "in letter order, each letter once";
        }
        if (drives[i].type != DriveType::kFixed && drives[i].type != DriveType::kRamDisk) {
            EXPECT_EQ(drives[i].label, "") << root << ": media of other drives are not touched";
        }
    }
    const char scratchDrive = static_cast<char>(std::toupper(static_cast<unsigned char>(dir[0])));
    auto found = std::find_if(drives.begin(), drives.end(),
                              [&](const DriveEntry& d) { return d.root[0] == scratchDrive; });
    ASSERT_NE(found, drives.end()) << dir;
    EXPECT_EQ(found->type, DriveType::kFixed);
    EXPECT_TRUE(files.FolderExists(found->root));
}

}  // namespace
}  // namespace tolva::platform

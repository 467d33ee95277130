// The fault-injecting file system: which calls a fault strikes, what it reports, and what reaches
// the file system below.

#include "platform/fake/faulty_file_system.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/fake/memory_file_system.h"

namespace tolva::platform {
namespace {

using Op = FileOperation;

class FaultyFileSystemTest : public ::testing::Test {
protected:
    FaultyFileSystemTest() {
        files.files["C:\\old.txt"] = "old";
        files.files["C:\\in\\data.bin"] = "0123456789";
    }

    Status WriteInPieces(const std::string& path, const std::vector<std::string>& pieces) {
        std::unique_ptr<OutputFile> output;
        if (Status status = faulty.OpenForWrite(path, output); !status) {
            return status;
        }
        for (const std::string& piece : pieces) {
            if (Status status = output->Write(piece.data(), piece.size()); !status) {
                return status;
            }
        }
        return output->Close();
    }

    MemoryFileSystem files;
    FaultyFileSystem faulty{files};
};

TEST(FaultyFileSystemOperationsTest, EachFailsWithWhatTheSystemWouldSayAndChangesNothing) {
    std::string content;
    std::vector<FolderEntry> entries;
    uint64_t size = 0;
    FileTime time = 0;
    uint32_t attributes = 0;
    std::unique_ptr<InputFile> input;
    std::unique_ptr<OutputFile> output;
    std::unique_ptr<UpdateFile> update;
    using Call = std::function<Status(FileSystem&)>;
    struct Case {
        Op operation;
        Call call;
        uint32_t code;
    } cases[] = {
        {Op::kCreateFolders, [&](FileSystem& f) { return f.CreateFolders("C:\\new"); },
         error::kDiskFull},
        {Op::kReadWholeFile, [&](FileSystem& f) { return f.ReadWholeFile("C:\\old.txt", content); },
         error::kReadFault},
        {Op::kWriteWholeFile, [&](FileSystem& f) { return f.WriteWholeFile("C:\\old.txt", "new"); },
         error::kDiskFull},
        {Op::kAppendToFile, [&](FileSystem& f) { return f.AppendToFile("C:\\old.txt", "+"); },
         error::kDiskFull},
        {Op::kCopyOver, [&](FileSystem& f) { return f.CopyOver("C:\\old.txt", "C:\\copy.txt"); },
         error::kDiskFull},
        {Op::kMoveTo, [&](FileSystem& f) { return f.MoveTo("C:\\old.txt", "C:\\moved.txt", true); },
         error::kAccessDenied},
        {Op::kRemoveFile, [&](FileSystem& f) { return f.RemoveFile("C:\\old.txt"); },
         error::kAccessDenied},
        {Op::kRemoveEmptyFolder, [&](FileSystem& f) { return f.RemoveEmptyFolder("C:\\empty"); },
         error::kAccessDenied},
        {Op::kSetNormalAttributes,
         [&](FileSystem& f) { return f.SetNormalAttributes("C:\\old.txt"); }, error::kAccessDenied},
        {Op::kListFolder, [&](FileSystem& f) { return f.ListFolder("C:\\", entries); },
         error::kAccessDenied},
        {Op::kGetFileSize, [&](FileSystem& f) { return f.GetFileSize("C:\\old.txt", size); },
         error::kAccessDenied},
        {Op::kGetFileTime, [&](FileSystem& f) { return f.GetFileTime("C:\\old.txt", time); },
         error::kAccessDenied},
        {Op::kGetAttributes,
         [&](FileSystem& f) { return f.GetAttributes("C:\\old.txt", attributes); },
         error::kAccessDenied},
        {Op::kOpenForRead, [&](FileSystem& f) { return f.OpenForRead("C:\\old.txt", input); },
         error::kAccessDenied},
        {Op::kOpenForWrite, [&](FileSystem& f) { return f.OpenForWrite("C:\\old.txt", output); },
         error::kAccessDenied},
        {Op::kOpenForUpdate,
         [&](FileSystem& f) { return f.OpenForUpdate("C:\\old.txt", false, update); },
         error::kAccessDenied},
    };
    for (const Case& c : cases) {
        const int operation = static_cast<int>(c.operation);
        MemoryFileSystem files(MemoryFileSystem::Folders::kMustBeCreated, {"C:\\empty"});
        files.files["C:\\old.txt"] = "old";
        const auto before = files.files;
        FaultyFileSystem faulty(files);
        faulty.Inject(c.operation).Once();

        EXPECT_EQ(c.call(faulty).code(), c.code) << operation;
        EXPECT_EQ(faulty.Strikes(), 1u) << operation;
        EXPECT_EQ(files.files, before) << operation;
        EXPECT_FALSE(files.FolderExists("C:\\new")) << operation;
        EXPECT_TRUE(files.FolderExists("C:\\empty")) << operation;
        EXPECT_TRUE(input == nullptr && output == nullptr && update == nullptr) << operation;
        EXPECT_TRUE(c.call(faulty).ok()) << "a fault that struck once is spent: " << operation;
        input.reset(), output.reset(), update.reset();
    }
}

TEST_F(FaultyFileSystemTest, TheNthCallOnChosenPathsFails) {
    faulty.Inject(Op::kWrite).OnPathsEndingIn(".log").AfterCalls(2).Once();
    EXPECT_TRUE(WriteInPieces("C:\\a.txt", {"1", "2", "3"}).ok()) << "other paths pass";
    EXPECT_EQ(WriteInPieces("C:\\a.log", {"1", "2", "3", "4"}).code(), error::kDiskFull);
    EXPECT_EQ(files.files["C:\\a.log"], "12");
    EXPECT_TRUE(WriteInPieces("C:\\a.log", {"1", "2", "3"}).ok());

    faulty.Inject(Op::kMoveTo).OnPathsEndingIn("target.txt").WithCode(error::kFileExists);
    EXPECT_EQ(faulty.MoveTo("C:\\old.txt", "C:\\target.txt", true).code(), error::kFileExists)
        << "a move matches by its target too";
    EXPECT_TRUE(faulty.MoveTo("C:\\old.txt", "C:\\elsewhere.txt", true).ok());
}

TEST_F(FaultyFileSystemTest, ByteBudgetsCoverEveryMatchingFile) {
    faulty.Inject(Op::kWrite).AfterBytes(6);
    EXPECT_TRUE(WriteInPieces("C:\\one.bin", {"ab", "c"}).ok());
    EXPECT_EQ(WriteInPieces("C:\\two.bin", {"de", "fgh"}).code(), error::kDiskFull);
    EXPECT_EQ(files.files["C:\\two.bin"], "def") << "the write that crosses stores what fits";
    EXPECT_EQ(WriteInPieces("C:\\three.bin", {"x"}).code(), error::kDiskFull) << "the disk is full";

    faulty.Inject(Op::kWriteWholeFile).AfterBytes(2);
    EXPECT_EQ(faulty.WriteWholeFile("C:\\whole.txt", "12345").code(), error::kDiskFull);
    EXPECT_EQ(files.files["C:\\whole.txt"], "12");

    faulty.Inject(Op::kRead).OnPathsEndingIn("data.bin").AfterBytes(4);
    std::unique_ptr<InputFile> input;
    ASSERT_TRUE(faulty.OpenForRead("C:\\in\\data.bin", input).ok());
    char buffer[16];
    size_t got = 0;
    ASSERT_TRUE(input->Read(buffer, 3, got).ok());
    EXPECT_EQ(std::string(buffer, got), "012");
    ASSERT_TRUE(input->Read(buffer, sizeof buffer, got).ok());
    EXPECT_EQ(std::string(buffer, got), "3") << "a read that would cross returns what fits";
    EXPECT_EQ(input->Read(buffer, sizeof buffer, got).code(), error::kReadFault);
    EXPECT_EQ(got, 0u);
}

TEST_F(FaultyFileSystemTest, AFailingCloseStillClosesTheFile) {
    faulty.Inject(Op::kClose);
    EXPECT_EQ(WriteInPieces("C:\\closed.txt", {"data"}).code(), error::kWriteFault);
    EXPECT_TRUE(files.RemoveFile("C:\\closed.txt").ok()) << "no handle is left open";
}

TEST_F(FaultyFileSystemTest, DiscardedWritesAreReportedDoneAndStoreNothing) {
    faulty.Inject(Op::kWrite).Discarding();
    EXPECT_TRUE(WriteInPieces("C:\\big.bin", {std::string(1 << 20, 'x'), "y"}).ok());
    EXPECT_TRUE(files.FileExists("C:\\big.bin"));
    EXPECT_EQ(files.files["C:\\big.bin"], "");
    EXPECT_EQ(faulty.Strikes(), 2u);
}

TEST_F(FaultyFileSystemTest, PowerCutsAndAbortsEndTheProcess) {
    GTEST_FLAG_SET(death_test_style, "fast");
    faulty.Inject(Op::kWrite).AfterBytes(3).EndingTheProcess();
    EXPECT_EXIT((void)WriteInPieces("C:\\cut.bin", {"ab", "cd"}), ::testing::ExitedWithCode(9), "");
    faulty.Inject(Op::kOpenForWrite).OnPathsEndingIn("outside.bin").Aborting();
    EXPECT_DEATH((void)WriteInPieces("C:\\outside.bin", {"x"}), "");
}

}  // namespace
}  // namespace tolva::platform

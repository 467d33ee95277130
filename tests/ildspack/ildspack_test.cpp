// The ildspack program as a user runs it: exit statuses, failure lines and round trips.

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "archive/archive_builder.h"
#include "archive/temp_root.h"

namespace tolva::ildspack {
namespace {

using archive::test::ArchiveBuilder;
using archive::test::Compress;
using archive::test::Crc;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class IldspackTest : public ::testing::Test {
protected:
    std::string Path(const std::string& relative) const { return root_.Host(relative).string(); }

    Outcome Ildspack(const std::string& arguments) const {
        // Relative paths on the command line resolve against the current folder.
        const std::string command = "cd '" + Path("") + "' && '" + ILDSPACK_PATH + "' " +
                                    arguments + " >'" + Path("out.txt") + "' 2>'" +
                                    Path("err.txt") + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, root_.Read("out.txt"),
                root_.Read("err.txt")};
    }

    void WriteArchive(const std::string& relative, const std::string& bytes) const {
        root_.Write(relative, bytes);
    }

    archive::test::TempRoot root_;
};

TEST_F(IldspackTest, ExitStatusesOfExtractAndVerify) {
    WriteArchive("good.ild", ArchiveBuilder(3).Entry("a.txt", "a").Entry("sub/b.txt", "b").bytes());
    WriteArchive("locked.ild",
                 ArchiveBuilder(3).Entry("a.txt", "a").Entry("secret.txt", "s", "pw").bytes());
    WriteArchive("damaged.ild", ArchiveBuilder(3)
                                    .Entry("a.txt", "a")
                                    .Raw("bad.txt", Compress("x"), false, Crc("x") + 1)
                                    .bytes());
    WriteArchive("unsafe.ild",
                 ArchiveBuilder(3).Entry("a.txt", "a").Entry("../escape.txt", "e").bytes());
    WriteArchive("truncated.ild", ArchiveBuilder(3).Entry("a.txt", "a").bytes() + std::string("\x05"
                                                                                              "b.t",
                                                                                              4));
    const std::string whole =
        ArchiveBuilder(3).Entry("a.txt", "a").Entry("cut.txt", std::string(999, 'c')).bytes();
    WriteArchive("cut-data.ild", whole.substr(0, whole.size() - 3));
    const std::string stream = Compress(std::string(999, 's'));
    WriteArchive("cut-stream.ild", ArchiveBuilder(2)
                                       .Entry("a.txt", "a")
                                       .Raw("short.txt", stream.substr(0, stream.size() / 2))
                                       .bytes());
    root_.Write("blocker", "a file where the destination folder should go");

    struct Case {
        std::string arguments;
        int status;
        std::string errorNames;  // what the failure line must mention besides the archive
    };
    const std::vector<Case> cases = {
        {"extract good.ild out", 0, ""},
        {"verify good.ild", 0, ""},
        {"extract locked.ild out", 1, "secret.txt"},
        {"verify locked.ild", 1, "secret.txt"},
        {"extract locked.ild out --password pw", 0, ""},
        {"verify locked.ild --password wrong", 2, "secret.txt"},
        {"extract damaged.ild out", 2, "bad.txt"},
        {"verify damaged.ild", 2, "bad.txt"},
        {"extract cut-stream.ild out", 2, "short.txt"},
        {"verify cut-stream.ild", 2, "short.txt"},
        {"extract unsafe.ild out", 3, "..\\escape.txt"},
        {"verify unsafe.ild", 3, "..\\escape.txt"},
        {"extract missing.ild out", 4, ""},
        {"verify missing.ild", 4, ""},
        {"extract truncated.ild out", 4, ""},
        {"verify truncated.ild", 4, ""},
        {"extract cut-data.ild out", 4, "cut.txt"},
        {"extract good.ild blocker/out", 4, ""},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(root_.Host("out"));
        const size_t archiveStart = c.arguments.find(' ') + 1;
        const std::string archive =
            c.arguments.substr(archiveStart, c.arguments.find(' ', archiveStart) - archiveStart);
        const Outcome run = Ildspack(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.err;
        if (c.status == 0) {
            EXPECT_EQ(run.err, "") << c.arguments;
            continue;
        }
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.arguments << "\n"
                                                                       << run.err;
        EXPECT_NE(run.err.find(archive), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.errorNames), std::string::npos) << c.arguments << "\n" << run.err;
    }
}

TEST_F(IldspackTest, PackedFolderComesBackByteForByte) {
    std::string binary;
    for (int i = 0; i < 200000; ++i) {
        binary += char(i * 7919 >> 3);
    }
    root_.Write("tree/readme.txt", "read me");
    root_.Write("tree/empty.dat", "");
    root_.Write("tree/bin/tool.bin", binary);
    root_.Write("tree/docs/deep/page one.html", "<p>one</p>");
    for (const std::string password : {"", "pass phrase"}) {
        const std::string secret = password.empty() ? "" : " --password '" + password + "'";
        std::filesystem::remove_all(root_.Host("out"));
        ASSERT_EQ(Ildspack("pack tree.ild tree" + secret).status, 0);
        const Outcome listed = Ildspack("list tree.ild");
        EXPECT_EQ(listed.status, 0);
        EXPECT_NE(listed.out.find("docs\\deep\\page one.html"), std::string::npos) << listed.out;
        const Outcome verified = Ildspack("verify tree.ild" + secret);
        EXPECT_EQ(verified.status, 0) << verified.err;
        EXPECT_NE(verified.out.find("4 entries"), std::string::npos) << verified.out;
        ASSERT_EQ(Ildspack("extract tree.ild out --quiet" + secret).status, 0);
        EXPECT_EQ(root_.Read("out/bin/tool.bin"), binary);
        EXPECT_EQ(root_.Read("out/docs/deep/page one.html"), "<p>one</p>");
        EXPECT_TRUE(std::filesystem::is_regular_file(root_.Host("out/empty.dat")));
    }
}

TEST_F(IldspackTest, SelectionOptionsReachTheExtraction) {
    WriteArchive("a.ild", ArchiveBuilder(3)
                              .Entry("keep.txt", "new")
                              .Entry("swap.txt", "new")
                              .Entry("x.txt", "x")
                              .bytes());
    root_.Write("out/keep.txt", "old");
    root_.Write("out/swap.txt", "old");
    ASSERT_EQ(
        Ildspack(
            "extract a.ild out --no-overwrite --keep ';keep.txt;' --include 'keep.txt;swap.txt'")
            .status,
        0);
    EXPECT_EQ(root_.Read("out/keep.txt"), "old");
    EXPECT_EQ(root_.Read("out/swap.txt"), "new");
    EXPECT_FALSE(root_.Exists("out/x.txt"));
}

TEST_F(IldspackTest, BadUsage) {
    for (const char* arguments :
         {"", "unpack a.ild", "extract a.ild", "list", "list a.ild b", "verify a.ild --keep x",
          "extract a.ild out --password", "pack a.ild dir --bogus"}) {
        const Outcome run = Ildspack(arguments);
        EXPECT_EQ(run.status, 64) << arguments;
        EXPECT_NE(run.err.find("usage"), std::string::npos) << arguments;
    }
}

}  // namespace
}  // namespace tolva::ildspack

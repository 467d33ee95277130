#include "archive/extract_archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "archive/archive_builder.h"
#include "archive/temp_root.h"
#include "platform/fake/faulty_file_system.h"

namespace tolva::archive {
namespace {

using test::ArchiveBuilder;
using test::Compress;
using test::Crc;

struct Options {
    bool overwrite = true;
    std::string keep;
    std::string include;
    std::string password;
};

struct Outcome {
    bool ok = false;
    int code = -1;
    ExtractReport report;
};

class ExtractArchiveTest : public ::testing::Test {
protected:
    Outcome Extract(const std::string& archive, const Options& options = {}) {
        root_.Write("archive.dat", archive);
        return ExtractFile("C:\\archive.dat", "C:\\dest", options);
    }

    Outcome ExtractFile(const std::string& archive, const std::string& destination,
                        const Options& options = {}) {
        Outcome outcome;
        outcome.ok =
            ExtractArchive(files_, archive, destination, outcome.code, options.overwrite,
                           options.keep, options.include, options.password, &outcome.report);
        return outcome;
    }

    // Relative paths of every file below the destination, with slashes.
    std::vector<std::string> Extracted() const {
        std::vector<std::string> names;
        const auto dest = root_.Host("dest");
        if (!std::filesystem::exists(dest)) {
            return names;
        }
        for (const auto& item : std::filesystem::recursive_directory_iterator(dest)) {
            if (item.is_regular_file()) {
                names.push_back(std::filesystem::relative(item.path(), dest).string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempRoot root_;
    platform::HostFileSystem files_{platform::HostPathMap(root_.root().string())};
};

using Names = std::vector<std::string>;

TEST_F(ExtractArchiveTest, ReadsEveryFormatVersion) {
    struct Case {
        const char* what;
        std::string archive;
    };
    auto entries = [](ArchiveBuilder builder) {
        return builder.Entry("a.txt", "alpha")
            .Entry("sub/dir/file.txt", std::string(5000, 'x'))
            .bytes();
    };
    const Case cases[] = {
        {"version 0 without header", entries(ArchiveBuilder(0, false))},
        {"version 0 with header", entries(ArchiveBuilder(0))},
        {"version 1", entries(ArchiveBuilder(1))},
        {"version 2", entries(ArchiveBuilder(2))},
        {"version 3", entries(ArchiveBuilder(3))},
        {"version 7 reads as 3", entries(ArchiveBuilder(7))},
        {"body longer than read", entries(ArchiveBuilder(3, false).Header(3, 40))},
        {"short body, missing bytes zero", entries(ArchiveBuilder(2, false).Header(2, 3))},
        {"empty body is version 0", entries(ArchiveBuilder(0, false).Header(0, 0))},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(root_.Host("dest"));
        const Outcome outcome = Extract(c.archive);
        EXPECT_TRUE(outcome.ok) << c.what;
        EXPECT_EQ(outcome.code, kExtractOk) << c.what;
        EXPECT_EQ(Extracted(), (Names{"a.txt", "sub/dir/file.txt"})) << c.what;
        EXPECT_EQ(root_.Read("dest/a.txt"), "alpha") << c.what;
        EXPECT_EQ(root_.Read("dest/sub/dir/file.txt"), std::string(5000, 'x')) << c.what;
    }
}

TEST_F(ExtractArchiveTest, EmptyOrForeignFilesExtractNothing) {
    const std::string cases[] = {
        "", std::string("\0whatever follows", 17),  // version 0, first name empty
        ArchiveBuilder(3)
            .Bytes(std::string(1, '\0'))
            .Entry("after.txt", "x")
            .bytes(),  // the end marker wins
    };
    for (const std::string& archive : cases) {
        const Outcome outcome = Extract(archive);
        EXPECT_TRUE(outcome.ok) << archive.size() << " bytes";
        EXPECT_EQ(outcome.code, kExtractOk);
        EXPECT_TRUE(Extracted().empty());
    }
}

TEST_F(ExtractArchiveTest, EmptyStoredDataGivesEmptyFile) {
    const Outcome outcome =
        Extract(ArchiveBuilder(3).Raw("empty.txt", "", false, 0).Entry("b.txt", "b").bytes());
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(Extracted(), (Names{"b.txt", "empty.txt"}));
    EXPECT_EQ(root_.Read("dest/empty.txt"), "");
}

TEST_F(ExtractArchiveTest, CrcMismatchStopsAndDeletesTheDamagedTarget) {
    const Outcome outcome = Extract(ArchiveBuilder(3)
                                        .Entry("a.txt", "good")
                                        .Raw("b.txt", Compress("bad"), false, Crc("bad") ^ 1)
                                        .Entry("c.txt", "after")
                                        .bytes());
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.code, kExtractDamaged);
    EXPECT_EQ(outcome.report.entry, "b.txt");
    EXPECT_EQ(Extracted(), (Names{"a.txt"}));
}

TEST_F(ExtractArchiveTest, StreamCutShortIsDamagedInEveryVersion) {
    const std::string content(100000, 'q');
    const std::string whole = Compress(content);
    struct Case {
        const char* what;
        std::string archive;
    };
    std::string halfStream = whole.substr(0, whole.size() / 2);
    // All of the content inflates, only the stream's own check value is missing: the CRC-32
    // matches.
    std::string noTrailer = whole.substr(0, whole.size() - 4);
    const Case cases[] = {
        {"version 2, stream cut in half", ArchiveBuilder(2)
                                              .Entry("a.txt", "a")
                                              .Raw("cut.txt", halfStream)
                                              .Entry("c.txt", "c")
                                              .bytes()},
        {"version 2, not zlib at all", ArchiveBuilder(2)
                                           .Entry("a.txt", "a")
                                           .Raw("cut.txt", "not zlib")
                                           .Entry("c.txt", "c")
                                           .bytes()},
        {"version 3, stream without its end, CRC-32 matching",
         ArchiveBuilder(3)
             .Entry("a.txt", "a")
             .Raw("cut.txt", noTrailer, false, Crc(content))
             .Entry("c.txt", "c")
             .bytes()},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(root_.Host("dest"));
        const Outcome outcome = Extract(c.archive);
        EXPECT_FALSE(outcome.ok) << c.what;
        EXPECT_EQ(outcome.code, kExtractDamaged) << c.what;
        EXPECT_EQ(outcome.report.failure, ExtractFailure::kDamaged) << c.what;
        EXPECT_EQ(outcome.report.entry, "cut.txt") << c.what;
        EXPECT_EQ(Extracted(), (Names{"a.txt"})) << c.what;
    }
}

TEST_F(ExtractArchiveTest, EncryptedEntries) {
    const std::string archive = ArchiveBuilder(3)
                                    .Entry("plain.txt", "open")
                                    .Entry("secret.txt", "hidden text", "pass word")
                                    .bytes();
    {
        SCOPED_TRACE("right password");
        const Outcome outcome = Extract(archive, {.password = "pass word"});
        EXPECT_TRUE(outcome.ok);
        EXPECT_EQ(root_.Read("dest/secret.txt"), "hidden text");
    }
    std::filesystem::remove_all(root_.Host("dest"));
    {
        SCOPED_TRACE("no password: stops even where the entry is not selected");
        const Outcome outcome = Extract(archive, {.include = "plain.txt"});
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.code, kExtractNeedsPassword);
        EXPECT_EQ(outcome.report.entry, "secret.txt");
        EXPECT_EQ(Extracted(), (Names{"plain.txt"}));
    }
    std::filesystem::remove_all(root_.Host("dest"));
    {
        SCOPED_TRACE("wrong password fails the integrity check");
        const Outcome outcome = Extract(archive, {.password = "guess"});
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.code, kExtractDamaged);
        EXPECT_EQ(Extracted(), (Names{"plain.txt"}));
    }
}

TEST_F(ExtractArchiveTest, IncludeListIsTrimmedLowerCasedAndExact) {
    const std::string archive = ArchiveBuilder(3)
                                    .Entry("setup.lng", "L")
                                    .Entry("setup.lng.bak", "B")
                                    .Entry("other.txt", "O")
                                    .bytes();
    const Outcome outcome = Extract(archive, {.include = "  Setup.LNG ;;  ; "});
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(Extracted(), (Names{"setup.lng"}));
}

TEST_F(ExtractArchiveTest, KeepExistingRules) {
    const std::string archive = ArchiveBuilder(3)
                                    .Entry("c.txt", "new c")
                                    .Entry("a.txt", "new a")
                                    .Entry("b.txt", "new b")
                                    .bytes();
    struct Case {
        const char* what;
        Options options;
        const char* a;
        const char* b;
    };
    // a.txt and b.txt exist beforehand; c.txt does not.
    const Case cases[] = {
        {"overwrite on", {.overwrite = true}, "new a", "new b"},
        {"overwrite off, keep list empty", {.overwrite = false}, "old a", "old b"},
        {"overwrite off, a.txt kept", {.overwrite = false, .keep = ";A.TXT;"}, "old a", "new b"},
        {"keep list needs the semicolons", {.overwrite = false, .keep = "a.txt"}, "new a", "new b"},
        {"include list applies after keep",
         {.overwrite = false, .keep = ";a.txt;", .include = "a.txt"},
         "old a",
         "old b"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(root_.Host("dest"));
        root_.Write("dest/a.txt", "old a");
        root_.Write("dest/b.txt", "old b");
        const Outcome outcome = Extract(archive, c.options);
        EXPECT_TRUE(outcome.ok) << c.what;
        EXPECT_EQ(root_.Read("dest/a.txt"), c.a) << c.what;
        EXPECT_EQ(root_.Read("dest/b.txt"), c.b) << c.what;
        EXPECT_EQ(root_.Exists("dest/c.txt"), c.options.include.empty()) << c.what;
    }
}

TEST_F(ExtractArchiveTest, Failures) {
    const std::string good = ArchiveBuilder(3).Entry("a.txt", "a").bytes();
    {
        SCOPED_TRACE("archive missing");
        const Outcome outcome = ExtractFile("C:\\missing.dat", "C:\\dest");
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.code, kExtractOk);
        EXPECT_EQ(outcome.report.failure, ExtractFailure::kArchiveUnreadable);
        EXPECT_TRUE(Extracted().empty());
    }
    {
        SCOPED_TRACE("empty arguments");
        EXPECT_FALSE(ExtractFile("", "C:\\dest").ok);
        EXPECT_FALSE(ExtractFile("C:\\archive.dat", "").ok);
    }
    {
        SCOPED_TRACE("destination cannot be created");
        root_.Write("blocker", "a file where a folder should go");
        root_.Write("archive.dat", good);
        const Outcome outcome = ExtractFile("C:\\archive.dat", "C:\\blocker\\dest\\");
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.code, kExtractOk);
        EXPECT_EQ(outcome.report.failure, ExtractFailure::kDestinationNotCreated);
    }
    const std::string twoEntries =
        ArchiveBuilder(3).Entry("a.txt", "a").Entry("b.txt", std::string(9000, 'b')).bytes();
    const size_t secondEntry = good.size();
    // Every cut inside the second entry's header (1 + 5 + 17 + 4 bytes), then inside its stored
    // data.
    for (size_t cut = secondEntry + 1; cut < twoEntries.size(); ++cut) {
        std::filesystem::remove_all(root_.Host("dest"));
        const Outcome outcome = Extract(twoEntries.substr(0, cut));
        const bool inHeader = cut < secondEntry + 27;
        EXPECT_FALSE(outcome.ok) << "cut at " << cut;
        EXPECT_EQ(outcome.code, kExtractOk) << "cut at " << cut;
        EXPECT_EQ(outcome.report.failure,
                  inHeader ? ExtractFailure::kTruncatedHeader : ExtractFailure::kTruncatedData)
            << "cut at " << cut;
        EXPECT_EQ(Extracted(), (Names{"a.txt"})) << "cut at " << cut << ": no half-written b.txt";
    }
    {
        SCOPED_TRACE("archive ends inside its header");
        const Outcome outcome = Extract(good.substr(0, 12));
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.report.failure, ExtractFailure::kTruncatedHeader);
    }
}

TEST_F(ExtractArchiveTest, TargetThatCannotBeCreatedIsPassedOver) {
    std::filesystem::create_directories(root_.Host("dest/a.txt"));  // a folder in the way
    const Outcome outcome = Extract(
        ArchiveBuilder(3).Entry("a.txt", "a").Entry("sub/b.txt", std::string(70000, 'b')).bytes());
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.code, kExtractOk);
    EXPECT_EQ(Extracted(), (Names{"sub/b.txt"}));
}

TEST_F(ExtractArchiveTest, FailedWriteStopsAndRemovesTheHalfWrittenTarget) {
    std::string noise;  // incompressible, so that the entry is large when stored as well
    for (uint32_t x = 1; noise.size() < 600000; x = x * 1103515245 + 12345) {
        noise += char(x >> 16);
    }
    struct Case {
        const char* what;
        std::string content;
        uint64_t failAfter;
        bool failClose;
    };
    const Case cases[] = {
        {"small entry, write fails", std::string(5000, 's'), 2 + 100, false},
        {"large entry, write fails midway", noise, 2 + 300000, false},
        {"close fails", "short", 1000000, true},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(root_.Host("dest"));
        root_.Write("archive.dat", ArchiveBuilder(3)
                                       .Entry("first.txt", "1")
                                       .Entry("second.txt", "2")
                                       .Entry("victim.bin", c.content)
                                       .Entry("after.txt", "a")
                                       .bytes());
        // failAfter counts the two bytes of the entries before the victim. A failing close would
        // fail those entries too, so there they are extracted first and the failing run takes only
        // the victim.
        platform::FaultyFileSystem failing(files_);
        failing.Inject(platform::FileOperation::kWrite).AfterBytes(c.failAfter);
        Outcome outcome;
        if (c.failClose) {
            ASSERT_TRUE(
                ExtractFile("C:\\archive.dat", "C:\\dest", {.include = "first.txt;second.txt"}).ok);
            failing.Inject(platform::FileOperation::kClose);
            outcome.ok = ExtractArchive(failing, "C:\\archive.dat", "C:\\dest", outcome.code, true,
                                        "", "victim.bin", "", &outcome.report);
        } else {
            outcome.ok = ExtractArchive(failing, "C:\\archive.dat", "C:\\dest", outcome.code, true,
                                        "", "", "", &outcome.report);
        }
        EXPECT_FALSE(outcome.ok) << c.what;
        EXPECT_EQ(outcome.code, kExtractOk) << c.what;
        EXPECT_EQ(outcome.report.failure, ExtractFailure::kTargetNotWritten) << c.what;
        EXPECT_EQ(outcome.report.entry, "victim.bin") << c.what;
        EXPECT_EQ(Extracted(), (Names{"first.txt", "second.txt"})) << c.what;
    }
}

TEST_F(ExtractArchiveTest, UnsafeNamesStopBeforeAnythingIsCreated) {
    const char* names[] = {
        "..\\sentinel.txt",
        "../sentinel.txt",
        "sub\\..\\..\\sentinel.txt",
        "\\abs.txt",
        "/abs.txt",
        "\\\\server\\share\\x.txt",
        "\\\\?\\C:\\x.txt",
        "\\\\.\\C:\\x.txt",
        "C:\\x.txt",
        "C:x.txt",
        "a.txt:stream",
        "a<b.txt",
        "a>b.txt",
        "a\"b.txt",
        "a|b.txt",
        "a?.txt",
        "a*.txt",
        "tab\t.txt",
        "trailing.",
        "trailing ",
        "dir.\\x.txt",
        "dir \\x.txt",
        ".\\x.txt",
        "CON",
        "con.txt",
        "sub\\Nul.tar.gz",
        "AUX",
        "prn.txt",
        "COM1",
        "lpt9.log",
        "CoM5 .txt",
        "lpt0",
        "COM0.log",
        "com\xB9.txt",
        "LPT\xB2",
        "lpt\xC2\xB3.dat",
    };
    for (const char* name : names) {
        std::filesystem::remove_all(root_.Host("dest"));
        root_.Write("sentinel.txt", "untouched");
        const Outcome outcome = Extract(ArchiveBuilder(3)
                                            .Entry("first.txt", "1")
                                            .Entry(name, "evil")
                                            .Entry("last.txt", "3")
                                            .bytes());
        EXPECT_FALSE(outcome.ok) << name;
        EXPECT_EQ(outcome.code, kExtractUnsafeName) << name;
        EXPECT_EQ(outcome.report.failure, ExtractFailure::kUnsafeName) << name;
        EXPECT_EQ(Extracted(), (Names{"first.txt"})) << name;
        EXPECT_EQ(root_.Read("sentinel.txt"), "untouched") << name;
    }
    // Names that only look suspicious are extracted.
    std::filesystem::remove_all(root_.Host("dest"));
    const Outcome outcome = Extract(ArchiveBuilder(3)
                                        .Entry("..a.txt", "1")
                                        .Entry("a..b.txt", "2")
                                        .Entry("console.txt", "3")
                                        .Entry("com10.txt", "4")
                                        .Entry("lpt", "5")
                                        .Entry(".hidden", "6")
                                        .Entry("sub\\\\double.txt", "7")
                                        .bytes());
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.code, kExtractOk);
    EXPECT_EQ(Extracted(), (Names{"..a.txt", ".hidden", "a..b.txt", "com10.txt", "console.txt",
                                  "lpt", "sub/double.txt"}));
}

TEST_F(ExtractArchiveTest, NothingIsWrittenThroughALink) {
    namespace fs = std::filesystem;
    const std::string archive = ArchiveBuilder(3)
                                    .Entry("first.txt", "1")
                                    .Entry("sub/inner/x.txt", "evil")
                                    .Entry("last.txt", "3")
                                    .bytes();
    struct Case {
        const char* what;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"a folder below the destination",
         [&] { fs::create_directory_symlink(root_.Host("outside"), root_.Host("dest/sub")); }},
        {"a deeper folder",
         [&] {
             fs::create_directories(root_.Host("dest/sub"));
             fs::create_directory_symlink(root_.Host("outside"), root_.Host("dest/sub/inner"));
         }},
        {"the target file",
         [&] {
             fs::create_directories(root_.Host("dest/sub/inner"));
             fs::create_symlink(root_.Host("outside/x.txt"), root_.Host("dest/sub/inner/x.txt"));
         }},
        {"the file an existing target is first replaced by",
         [&] {
             root_.Write("dest/sub/inner/x.txt", "old");
             fs::create_symlink(root_.Host("outside/x.txt"),
                                root_.Host("dest/sub/inner/x.txt.new"));
         }},
    };
    for (const Case& c : cases) {
        fs::remove_all(root_.Host("dest"));
        fs::remove_all(root_.Host("outside"));
        root_.Write("outside/x.txt", "untouched");
        fs::create_directories(root_.Host("dest"));
        c.arrange();
        const Outcome outcome = Extract(archive);
        EXPECT_FALSE(outcome.ok) << c.what;
        EXPECT_EQ(outcome.code, kExtractUnsafeName) << c.what;
        EXPECT_EQ(outcome.report.failure, ExtractFailure::kLinkOnPath) << c.what;
        EXPECT_EQ(outcome.report.entry, "sub\\inner\\x.txt") << c.what;
        EXPECT_EQ(root_.Read("outside/x.txt"), "untouched") << c.what;
        EXPECT_EQ(std::distance(fs::directory_iterator(root_.Host("outside")), {}), 1) << c.what;
        EXPECT_FALSE(root_.Exists("dest/last.txt")) << c.what;
    }

    // The destination itself may be a link: the caller chose it.
    fs::remove_all(root_.Host("dest"));
    fs::create_directories(root_.Host("real"));
    fs::create_directory_symlink(root_.Host("real"), root_.Host("dest"));
    const Outcome outcome = Extract(archive);
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(root_.Read("real/sub/inner/x.txt"), "evil");
}

TEST_F(ExtractArchiveTest, AFailedEntryLeavesTheFileItReplacesIntact) {
    const std::string content(300000, 'n');
    const std::string good =
        ArchiveBuilder(3).Entry("a.txt", "new a").Entry("big.bin", content).bytes();
    struct Case {
        const char* what;
        std::string archive;
        ExtractFailure failure;
        uint64_t failWriteAfter = 0;  // 0: no write fails
    };
    const Case cases[] = {
        {"CRC-32 mismatch",
         ArchiveBuilder(3)
             .Entry("a.txt", "new a")
             .Raw("big.bin", Compress(content), false, Crc(content) ^ 1)
             .bytes(),
         ExtractFailure::kDamaged},
        {"archive cut inside the data", good.substr(0, good.size() - 10),
         ExtractFailure::kTruncatedData},
        {"write fails midway", good, ExtractFailure::kTargetNotWritten, 5 + 100000},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(root_.Host("dest"));
        root_.Write("dest/a.txt", "old a");
        root_.Write("dest/big.bin", "old big");
        root_.Write("archive.dat", c.archive);
        platform::FaultyFileSystem faulty(files_);
        if (c.failWriteAfter > 0) {
            faulty.Inject(platform::FileOperation::kWrite).AfterBytes(c.failWriteAfter);
        }
        Outcome outcome;
        outcome.ok = ExtractArchive(faulty, "C:\\archive.dat", "C:\\dest", outcome.code, true, "",
                                    "", "", &outcome.report);
        EXPECT_FALSE(outcome.ok) << c.what;
        EXPECT_EQ(outcome.report.failure, c.failure) << c.what;
        EXPECT_EQ(root_.Read("dest/a.txt"), "new a") << c.what;
        EXPECT_EQ(root_.Read("dest/big.bin"), "old big") << c.what;
        EXPECT_EQ(Extracted(), (Names{"a.txt", "big.bin"})) << c.what << ": nothing left beside";
    }
    {
        SCOPED_TRACE("an existing file that cannot be replaced is passed over");
        std::filesystem::remove_all(root_.Host("dest"));
        root_.Write("dest/big.bin", "old big");
        std::filesystem::permissions(root_.Host("dest/big.bin"),
                                     std::filesystem::perms::owner_read);
        const Outcome outcome = Extract(good);
        EXPECT_TRUE(outcome.ok);
        EXPECT_EQ(outcome.report.entriesWritten, 1);
        EXPECT_EQ(root_.Read("dest/big.bin"), "old big");
        EXPECT_EQ(Extracted(), (Names{"a.txt", "big.bin"}));
    }
}

}  // namespace
}  // namespace tolva::archive

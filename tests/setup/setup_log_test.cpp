// The setup log channel: line format, the flag bits, dropped lines before opening, the copy file,
// appending across runs, and whole lines from several threads.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/fake/fake_system.h"
#include "platform/fake/faulty_file_system.h"
#include "platform/fake/memory_file_system.h"
#include "setup/setup_log.h"

namespace tolva::setup {
namespace {

constexpr char kLog[] = "C:\\Tolva\\logs\\setup\\setup.log";

class SetupLogTest : public ::testing::Test {
protected:
    SetupLogTest() { system.SetNow({2026, 3, 7, 9, 5, 1, 0, 6}); }

    std::string Content() const {
        const auto found = files.files.find(kLog);
        return found == files.files.end() ? "(none)" : found->second;
    }

    platform::MemoryFileSystem files{platform::MemoryFileSystem::Folders::kMustBeCreated};
    platform::FaultyFileSystem faulty{files};
    platform::FakeSystem system;
    std::vector<std::string> console;
    TDebugStruct log{
        faulty, system,
        TDebugStruct::Outputs{[] { return 42u; },
                              [this](std::string_view line) { console.emplace_back(line); }}};
};

TEST_F(SetupLogTest, LinesByFlags) {
    struct Case {
        uint32_t flags;
        std::string message;
        std::string line;
    };
    const Case cases[] = {
        {kSetupLogFlags, "Copying files...", "2026-03-07 09:05:01 Copying files...\r\n"},
        {kSetupLogFlags, "Finished\r\n", "2026-03-07 09:05:01 Finished\r\n\r\n"},
        {kSetupLogFlags, "Data file \xE9t\xE9", "2026-03-07 09:05:01 Data file \xE9t\xE9\r\n"},
        {kSetupLogFlags, "", "2026-03-07 09:05:01 \r\n"},
        {0, "bare", "bare\r\n"},
        {log_flag::kTimeStamp | log_flag::kThreadId, "x", "2026-03-07 09:05:01 [42] x\r\n"},
        {log_flag::kThreadId, "x", "[42] x\r\n"},
        {log_flag::kFirstLineOnly, "first\r\nsecond\r\n", "first\r\n"},
        {log_flag::kFirstLineOnly, "first\nsecond", "first\r\n"},
        {log_flag::kFirstLineOnly, "only", "only\r\n"},
    };
    for (const Case& c : cases) {
        files.files.clear();
        log.Open(kLog, c.flags);
        log.Write(c.message);
        EXPECT_EQ(Content(), c.line) << "flags " << c.flags << ", message \"" << c.message << "\"";
    }
}

TEST_F(SetupLogTest, TimeStampKeepsItsSeparatorsAndWidths) {
    system.SetNow({2031, 12, 31, 23, 59, 58, 999, 3});
    log.Open(kLog, kSetupLogFlags);
    log.Write("late");
    EXPECT_EQ(Content(), "2031-12-31 23:59:58 late\r\n");
}

TEST_F(SetupLogTest, LinesBeforeOpeningAreDropped) {
    log.Write("too early");
    EXPECT_FALSE(log.IsOpen());
    EXPECT_TRUE(files.files.empty());
    EXPECT_TRUE(files.CreatedFolders().empty());

    log.Open(kLog, kSetupLogFlags);
    log.Write("Started");
    EXPECT_EQ(Content(), "2026-03-07 09:05:01 Started\r\n");
}

TEST_F(SetupLogTest, TheCopyFileHasEveryLineFromTheFirstOn) {
    constexpr char kCopy[] = "D:\\Runs\\tolva\\run.log";
    log.SetCopyFile(kCopy);
    log.Write("Question: go on? - Answer: Yes");
    log.Open(kLog, kSetupLogFlags);
    log.Write("Finished\r\n");
    EXPECT_EQ(files.files[kCopy],
              "2026-03-07 09:05:01 Question: go on? - Answer: Yes\r\n"
              "2026-03-07 09:05:01 Finished\r\n\r\n");
    EXPECT_EQ(Content(), "2026-03-07 09:05:01 Finished\r\n\r\n");
}

TEST_F(SetupLogTest, AppendsAcrossRunsUnlessToldToStartEmpty) {
    files.files[kLog] = "earlier run\r\n";
    (void)files.CreateFolders("C:\\Tolva\\logs\\setup\\");
    log.Open(kLog, kSetupLogFlags);
    log.Write("again");
    EXPECT_EQ(Content(), "earlier run\r\n2026-03-07 09:05:01 again\r\n");

    TDebugStruct fresh(files, system);
    fresh.Open(kLog, kSetupLogFlags | log_flag::kDeleteOnOpen);
    EXPECT_EQ(Content(), "(none)");
    fresh.Write("alone");
    EXPECT_EQ(Content(), "2026-03-07 09:05:01 alone\r\n");
}

TEST_F(SetupLogTest, CreatesItsFoldersAndSwallowsFailures) {
    log.Open(kLog, kSetupLogFlags);
    log.Write("first");
    EXPECT_EQ(Content(), "2026-03-07 09:05:01 first\r\n");

    faulty.Inject(platform::FileOperation::kAppendToFile).Once();
    faulty.Inject(platform::FileOperation::kCreateFolders).Once();
    log.Write("lost");
    log.Write("kept");
    EXPECT_EQ(Content(), "2026-03-07 09:05:01 first\r\n2026-03-07 09:05:01 kept\r\n");
}

TEST_F(SetupLogTest, ConsoleFlagWritesToTheConsoleInstead) {
    log.Open(kLog, kSetupLogFlags | log_flag::kConsole);
    log.Write("to the console");
    EXPECT_EQ(Content(), "(none)");
    EXPECT_EQ(console, std::vector<std::string>{"2026-03-07 09:05:01 to the console\r\n"});
}

TEST_F(SetupLogTest, LinesFromSeveralThreadsStayWhole) {
    log.Open(kLog, 0);
    constexpr int kThreads = 4;
    constexpr int kLines = 300;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([this, t] {
            for (int i = 0; i < kLines; ++i) {
                log.Write("thread " + std::to_string(t) + " line " + std::to_string(i));
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    std::vector<int> next(kThreads, 0);
    const std::string content = Content();
    size_t start = 0;
    int count = 0;
    for (size_t end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2) {
        int t = -1;
        int i = -1;
        ASSERT_EQ(
            std::sscanf(content.substr(start, end - start).c_str(), "thread %d line %d", &t, &i), 2)
            << content.substr(start, end - start);
        ASSERT_TRUE(t >= 0 && t < kThreads);
        EXPECT_EQ(i, next[t]++) << "thread " << t;
        ++count;
    }
    EXPECT_EQ(start, content.size());
    EXPECT_EQ(count, kThreads * kLines);
}

TEST(SetupLogFile, UnderTheLogFolder) {
    EXPECT_EQ(SetupLogFile("D:\\Mail\\logs\\"), "D:\\Mail\\logs\\setup\\setup.log");
}

}  // namespace
}  // namespace tolva::setup

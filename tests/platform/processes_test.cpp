#include "platform/processes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "test_platform.h"

namespace tolva::platform {
namespace {

bool SameFileName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

class ProcessesTest : public ::testing::Test {
protected:
    // The ids of the running processes with that base name (compared without regard to case).
    std::vector<uint32_t> IdsOf(const std::string& baseName) {
        std::vector<ProcessInfo> running;
        EXPECT_TRUE(processes.List(running).ok());
        std::vector<uint32_t> ids;
        for (const ProcessInfo& process : running) {
            if (SameFileName(process.baseName, baseName)) {
                ids.push_back(process.id);
            }
        }
        return ids;
    }

    // Waits up to 10 s for the number of such processes to become count.
    std::vector<uint32_t> WaitForCount(const std::string& baseName, size_t count) {
        System& system = *test.Services().system;
        uint32_t start = system.Ticks();
        std::vector<uint32_t> ids = IdsOf(baseName);
        while (ids.size() != count && system.Ticks() - start < 10000) {
            system.SleepFor(50);
            ids = IdsOf(baseName);
        }
        return ids;
    }

    testing::TestPlatform test;
    Processes& processes = *test.Services().processes;
};

TEST_F(ProcessesTest, LaunchedProgramIsListedAndTerminated) {
    std::string program = test.LongRunningProgram();
    std::string baseName = program.substr(program.find_last_of('\\') + 1);
    ASSERT_TRUE(IdsOf(baseName).empty());

    ASSERT_TRUE(processes.Launch(program, "", test.Scratch(), ShowCommand::kHide).ok());
    std::vector<uint32_t> ids = WaitForCount(baseName, 1);
    ASSERT_EQ(ids.size(), 1u);

    ASSERT_TRUE(processes.Terminate(ids[0], 0).ok());
    EXPECT_TRUE(WaitForCount(baseName, 0).empty());
}

TEST_F(ProcessesTest, MissingProgramDoesNotLaunch) {
    EXPECT_EQ(
        processes.Launch(test.Scratch() + "missing.exe", "", test.Scratch(), ShowCommand::kShow)
            .code(),
        error::kFileNotFound);
}

TEST_F(ProcessesTest, PrivilegesAreEnabledByName) {
    EXPECT_TRUE(processes.EnablePrivilege("SeDebugPrivilege").ok());
    EXPECT_FALSE(processes.EnablePrivilege("NoSuchThing").ok());
}

TEST_F(ProcessesTest, OneClaimOfANameAtATime) {
    const std::string name = "Local\\TolvaProcessesTestClaim";
    std::unique_ptr<InstanceClaim> first;
    ASSERT_TRUE(processes.ClaimInstance(name, first).ok());
    ASSERT_NE(first, nullptr);

    std::unique_ptr<InstanceClaim> second;
    EXPECT_EQ(processes.ClaimInstance(name, second).code(), error::kAlreadyExists);
    EXPECT_EQ(second, nullptr);
    std::unique_ptr<InstanceClaim> other;
    EXPECT_TRUE(processes.ClaimInstance(name + "2", other).ok());

    first.reset();
    EXPECT_TRUE(processes.ClaimInstance(name, second).ok()) << "released with its owner";
}

}  // namespace
}  // namespace tolva::platform

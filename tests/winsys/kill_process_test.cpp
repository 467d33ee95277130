#include "winsys/kill_process.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_processes.h"

namespace tolva::winsys {
namespace {

TEST(KillProcessTest, EveryProcessOfTheNameEndsAndTheLastTryCounts) {
    struct Case {
        const char* what;
        std::string wanted;
        std::vector<std::string> running;
        bool protectLast;
        bool result;
        size_t left;
    } cases[] = {
        {"name without extension", "smtp", {"smtp.exe", "pop3.exe"}, false, true, 1},
        {"case of the letters", "SMTP.EXE", {"Smtp.Exe"}, false, true, 0},
        {"every instance", "smtp.exe", {"smtp.exe", "smtp.exe", "pop3.exe"}, false, true, 1},
        {"none of that name", "cal.exe", {"smtp.exe"}, false, false, 1},
        {"only a prefix", "smtp", {"smtp.exe.bak", "smtpd.exe"}, false, false, 2},
        {"last one refuses", "smtp", {"smtp.exe", "smtp.exe"}, true, false, 1},
    };
    for (const Case& c : cases) {
        platform::FakeProcesses processes;
        uint32_t last = 0;
        for (const std::string& name : c.running) {
            last = processes.Start(name);
        }
        if (c.protectLast) {
            processes.Protect(last);
        }
        EXPECT_EQ(KillProcessByName(processes, c.wanted), c.result) << c.what;
        std::vector<platform::ProcessInfo> left;
        ASSERT_TRUE(processes.List(left).ok());
        EXPECT_EQ(left.size(), c.left) << c.what;
        for (const auto& [id, exitCode] : processes.Terminations()) {
            EXPECT_EQ(exitCode, 0u) << c.what;
        }
        EXPECT_EQ(processes.EnabledPrivileges(), std::vector<std::string>{"SeDebugPrivilege"})
            << c.what;
    }
}

TEST(KillProcessTest, ProcessesThatCannotBeListedAreNotKilled) {
    platform::FakeProcesses processes;
    processes.Start("smtp.exe");
    processes.Log().FailNext("List", platform::error::kProcNotFound);
    EXPECT_FALSE(KillProcessByName(processes, "smtp.exe"));
    EXPECT_TRUE(processes.Terminations().empty());
}

}  // namespace
}  // namespace tolva::winsys

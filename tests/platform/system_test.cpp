#include "platform/system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "test_platform.h"

namespace tolva::platform {
namespace {

class SystemTest : public ::testing::Test {
protected:
    testing::TestPlatform test;
    System& system = *test.Services().system;
};

TEST_F(SystemTest, AnsiCodePageConversions) {
    struct Case {
        std::string ansi;
        std::u16string wide;
    } cases[] = {
        {"", u""},
        {"Setup 9.1", u"Setup 9.1"},
        {"\x80\x8A\x9F", u"\u20ac\u0160\u0178"},
        {"\xC4\xE9\xFF", u"\u00c4\u00e9\u00ff"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(system.AnsiToWide(c.ansi), c.wide) << c.ansi;
        EXPECT_EQ(system.WideToAnsi(c.wide), c.ansi) << c.ansi;
    }
    EXPECT_EQ(system.WideToAnsi(u"x\u4e2dy\u0416"), "x?y?") << "unmappable characters become '?'";
}

TEST_F(SystemTest, FoldersExistAndEndInBackslash) {
    for (const std::string& folder : {system.TempFolder(), system.WindowsFolder()}) {
        ASSERT_FALSE(folder.empty());
        EXPECT_EQ(folder.back(), '\\') << folder;
        EXPECT_EQ(folder[1], ':') << folder;
        EXPECT_TRUE(test.Services().files->FolderExists(folder)) << folder;
    }
}

TEST_F(SystemTest, MachineFacts) {
    EXPECT_EQ(system.GetPlatformId(), PlatformId::kWindowsNt);
    int32_t bias = system.TimeZoneBias();
    EXPECT_GE(bias, -14 * 60);
    EXPECT_LE(bias, 12 * 60);
    for (const std::string& server : system.DnsServers()) {
        int parts = 0, octet = 0;
        for (size_t i = 0; i <= server.size(); ++i) {
            if (i == server.size() || server[i] == '.') {
                EXPECT_LE(octet, 255) << server;
                ++parts;
                octet = 0;
            } else {
                char digit = server[i];
                EXPECT_TRUE(digit >= '0' && digit <= '9') << server;
                octet = octet * 10 + (digit - '0');
            }
        }
        EXPECT_EQ(parts, 4) << server;
    }
    std::string text = system.ErrorText(error::kFileNotFound);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '\r');
}

TEST_F(SystemTest, ClockAndTicksMove) {
    LocalTime now = system.Now();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.day >= 1 && now.day <= 31);
    EXPECT_LE(now.hour, 23);
    EXPECT_LE(now.dayOfWeek, 6);

    uint32_t before = system.Ticks();
    system.SleepFor(100);
    uint32_t elapsed = system.Ticks() - before;
    EXPECT_GE(elapsed, 80u) << "ticks may lag by one timer period of about 16 ms";
    EXPECT_LT(elapsed, 5000u);
}

TEST_F(SystemTest, ListenersNameTheirPortAndProcess) {
    const TcpListener ours = test.ListenOnLoopback();
    std::vector<TcpListener> listeners;
    ASSERT_TRUE(system.ListTcpListeners(listeners).ok());
    // Wine lists the port but does not say whose it is.
    const auto found = std::find_if(listeners.begin(), listeners.end(),
                                    [&](const TcpListener& l) { return l.port == ours.port; });
    ASSERT_NE(found, listeners.end()) << "port " << ours.port;
    EXPECT_TRUE(found->processId == ours.processId || found->processId == 0)
        << "process " << found->processId << " instead of " << ours.processId;
}

}  // namespace
}  // namespace tolva::platform

#include "platform/desktop_windows.h"

#include <gtest/gtest.h>

#include "test_platform.h"

namespace tolva::platform {
namespace {

constexpr uint32_t kAnswerMs = 5000;

class WindowsTest : public ::testing::Test {
protected:
    testing::TestPlatform test;
    Windows& windows = *test.Services().windows;
    const std::string className = "TTolvaContract" + test.UniqueName();
};

TEST_F(WindowsTest, FoundByClassAndCaptionWithoutRegardToCase) {
    WindowHandle window = test.OpenWindow(className, "Contract Caption", false);
    ASSERT_NE(window, 0u);

    struct Case {
        std::string className;
        std::string caption;
        bool found;
    } cases[] = {
        {className, "Contract Caption", true},
        {className, "CONTRACT caption", true},
        {className, "", true},
        {"", "Contract Caption", true},
        {className, "Other Caption", false},
        {className + "X", "Contract Caption", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(windows.Find(c.className, c.caption), c.found ? window : 0u)
            << c.className << " / " << c.caption;
    }
}

TEST_F(WindowsTest, SentMessageReturnsTheProcedureResult) {
    WindowHandle window = test.OpenWindow(className, "Sent", false);
    ASSERT_NE(window, 0u);
    EXPECT_EQ(windows.Send(window, 1280, 3, 39, kAnswerMs), 42);
    EXPECT_TRUE(windows.Post(window, 1280, 1, 1).ok());
    windows.Close(window, kAnswerMs);
    EXPECT_EQ(windows.Send(window, 1280, 3, 39, kAnswerMs), 0)
        << "a window that is gone answers nothing";
    EXPECT_FALSE(windows.Post(window, 1280, 1, 1).ok());
}

TEST_F(WindowsTest, CloseGoesUnlessTheWindowKeepsItself) {
    WindowHandle closing = test.OpenWindow(className, "Closing", false);
    WindowHandle stubborn = test.OpenWindow(className, "Stubborn", true);
    ASSERT_NE(closing, 0u);
    ASSERT_NE(stubborn, 0u);

    windows.Close(closing, kAnswerMs);
    windows.Close(stubborn, kAnswerMs);
    EXPECT_EQ(windows.Find(className, "Closing"), 0u);
    EXPECT_EQ(windows.Find(className, "Stubborn"), stubborn);
}

TEST_F(WindowsTest, ProgramThatStoppedAnsweringIsNotWaitedForPastTheTimeout) {
    WindowHandle window = test.OpenWindow(className, "Hung", false);
    ASSERT_NE(window, 0u);
    test.HangWindow(window, 5000);
    System& system = *test.Services().system;
    const uint32_t started = system.Ticks();
    EXPECT_EQ(windows.Send(window, 1280, 3, 39, 500), 0);
    windows.Close(window, 500);
    EXPECT_LT(system.Ticks() - started, 3000u) << "the program hangs for 5 s";
    EXPECT_EQ(windows.Find(className, "Hung"), window);
}

}  // namespace
}  // namespace tolva::platform

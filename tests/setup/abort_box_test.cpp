// The abort of an installation: the box, the line that closes the run in the setup log, and the
// exit code of a failed installation.

#include <gtest/gtest.h>

#include "deployment_doubles.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/memory_file_system.h"
#include "setup/abort_box.h"
#include "setup/exit_codes.h"
#include "setup/setup_log.h"

namespace tolva::setup {
namespace {

TEST(AbortBox, ShowsTheErrorLogsTheAbortAndEndsAsFailed) {
    platform::MemoryFileSystem files;
    platform::FakeSystem system;
    system.SetNow({2026, 3, 7, 9, 5, 1, 0, 6});
    platform::FakeDialogs dialogs;
    TDebugStruct log(files, system);
    log.Open("C:\\Mail\\logs\\setup\\setup.log", kSetupLogFlags);
    test::Events events;
    test::RecordingEnd processEnd(events);
    AbortBox abort(dialogs, system, log, processEnd);

    abort.Abort(u"Extracting files error: data file error setupas.dat", u"\r\n(bad header)");

    ASSERT_EQ(dialogs.Shown().size(), 1u);
    const platform::MessageBoxRequest& box = dialogs.Shown().front();
    EXPECT_EQ(box.text, u"Extracting files error: data file error setupas.dat\r\n(bad header)");
    EXPECT_EQ(box.caption, u"Error");
    EXPECT_EQ(box.icon, platform::DialogIcon::kError);
    EXPECT_TRUE(box.taskModal);
    EXPECT_EQ(files.files["C:\\Mail\\logs\\setup\\setup.log"],
              "2026-03-07 09:05:01 Error: Setup aborted - Extracting files error: data file error "
              "setupas.dat\r\n\r\n");
    EXPECT_EQ(events, test::Events{"end " + std::to_string(kExitInstallFailure)});
}

}  // namespace
}  // namespace tolva::setup

#include "setup/quiet_dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_system.h"

namespace tolva::setup {
namespace {

using platform::DialogButtons;
using platform::DialogResult;

class RecordingLog : public util::SetupLogSink {
public:
    void Write(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

TEST(QuietDialogsTest, EveryBoxTakesItsDefaultAnswerAndIsLogged) {
    const struct {
        DialogButtons buttons;
        DialogResult answer;
        const char* word;
    } cases[] = {
        {DialogButtons::kOk, DialogResult::kOk, "OK"},
        {DialogButtons::kOkCancel, DialogResult::kOk, "OK"},
        {DialogButtons::kYesNo, DialogResult::kYes, "Yes"},
        {DialogButtons::kYesNoCancel, DialogResult::kNo, "No"},
        {DialogButtons::kRetryCancel, DialogResult::kCancel, "Cancel"},
        {DialogButtons::kAbortRetryIgnore, DialogResult::kAbort, "Abort"},
    };
    platform::FakeSystem system;
    for (const auto& c : cases) {
        RecordingLog log;
        QuietDialogs dialogs(log, system);
        EXPECT_EQ(dialogs.ShowMessageBox({u"An error occured while copying file 'a'.\r\nDisk "
                                          u"full\r\nDo you want to retry?",
                                          u"Error", c.buttons}),
                  c.answer);
        EXPECT_EQ(log.lines, std::vector<std::string>{
                                 "Message box \"Error\": An error occured while copying file "
                                 "'a'. Disk full Do you want to retry? - answered " +
                                 std::string(c.word)});
    }
}

}  // namespace
}  // namespace tolva::setup

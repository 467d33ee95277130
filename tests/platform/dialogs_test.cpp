#include "platform/dialogs.h"

#include <gtest/gtest.h>

#include "test_platform.h"

namespace tolva::platform {
namespace {

TEST(DialogsTest, TheButtonPressedIsTheResult) {
    struct Case {
        DialogButtons buttons;
        DialogIcon icon;
        DialogResult pressed;
    } cases[] = {
        {DialogButtons::kOk, DialogIcon::kInformation, DialogResult::kOk},
        {DialogButtons::kOkCancel, DialogIcon::kWarning, DialogResult::kCancel},
        {DialogButtons::kYesNo, DialogIcon::kQuestion, DialogResult::kNo},
        {DialogButtons::kYesNoCancel, DialogIcon::kNone, DialogResult::kYes},
        {DialogButtons::kRetryCancel, DialogIcon::kError, DialogResult::kRetry},
        {DialogButtons::kAbortRetryIgnore, DialogIcon::kError, DialogResult::kIgnore},
    };
    testing::TestPlatform test;
    for (const Case& c : cases) {
        test.AnswerNextMessageBox(c.pressed);
        MessageBoxRequest request;
        request.text = u"Do you want to continue? \u00e9\u20ac";
        request.caption = u"Setup";
        request.buttons = c.buttons;
        request.icon = c.icon;
        request.taskModal = true;
        EXPECT_EQ(test.Services().dialogs->ShowMessageBox(request), c.pressed)
            << static_cast<int>(c.buttons);
    }
}

}  // namespace
}  // namespace tolva::platform

#pragma once
// Message boxes answered from a script, each one recorded.

#include <deque>
#include <optional>
#include <vector>

#include "platform/dialogs.h"

namespace tolva::platform {

class FakeDialogs : public Dialogs {
public:
    // Boxes take the queued answers in order; once the queue is empty, the default answer, or the
    // box's first button (what Enter would press) when no default was set.
    void QueueAnswer(DialogResult answer) { answers_.push_back(answer); }
    void SetDefaultAnswer(DialogResult answer) { defaultAnswer_ = answer; }

    DialogResult ShowMessageBox(const MessageBoxRequest& request) override;

    const std::vector<MessageBoxRequest>& Shown() const { return shown_; }
    size_t UnusedAnswers() const { return answers_.size(); }

private:
    std::deque<DialogResult> answers_;
    std::optional<DialogResult> defaultAnswer_;
    std::vector<MessageBoxRequest> shown_;
};

}  // namespace tolva::platform

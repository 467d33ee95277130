#pragma once
// The main window as service control sees it, recording what it was asked to show.

#include <string>
#include <vector>

#include "winsys/service_control_window.h"

namespace tolva::winsys {

class RecordingWindow : public ServiceControlWindow {
public:
    void ShowProgressText(std::u16string_view text) override { progress.emplace_back(text); }
    platform::DialogResult ShowMessageBox(const platform::MessageBoxRequest& request) override {
        boxes.push_back(request);
        return platform::DialogResult::kOk;
    }
    void ProcessPendingMessages() override { ++pendingRuns; }

    std::vector<std::u16string> progress;
    std::vector<platform::MessageBoxRequest> boxes;
    int pendingRuns = 0;
};

}  // namespace tolva::winsys

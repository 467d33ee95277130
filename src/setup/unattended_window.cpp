#include "setup/unattended_window.h"

#include "i18n/ui_strings.h"

namespace tolva::setup {
namespace {

constexpr int kWidth = 360;
constexpr int kMargin = 12;
constexpr int kInnerWidth = kWidth - 2 * kMargin;
constexpr int kButtonWidth = 75;

}  // namespace

TProgressForm::TProgressForm(ui::Application& application, std::u16string caption)
    : Form(application, "TProgressForm", "ProgressForm") {
    SetCaption(std::move(caption));
    SetBorderStyle(ui::BorderStyle::kDialog);
    SetPosition(ui::FormPosition::kScreenCenter);
    SetClientSize(kWidth, 104);
    ProgressText = &Add({.className = "TTntLabel",
                         .name = "ProgressText",
                         .bounds = {kMargin, 14, kInnerWidth, 13}});
    ProgressText->SetShowAccelChar(false);
    ProgressBar = &Add({.className = "TProgressBar",
                        .name = "ProgressBar",
                        .bounds = {kMargin, 36, kInnerWidth, 18}});
    ProgressBar->SetRange(0, 12);
    ProgressBar->SetStep(1);
    CancelButton = &Add({.className = "TTntButton",
                         .name = "CancelButton",
                         .bounds = {kWidth - kMargin - kButtonWidth, 68, kButtonWidth, 25},
                         .text = i18n::Text(i18n::cCancel)});
    CancelButton->SetCancel(true);
    Bind(CancelButton->events.click, &TProgressForm::CancelButtonClick);
    Bind(events.closeQuery, &TProgressForm::FormCloseQuery);
}

void TProgressForm::CancelButtonClick(ui::Component&) {
    cancelRequested_ = true;
    CancelButton->SetEnabled(false);
}

// Closing the window is Cancel; the window itself stays until the run ends.
void TProgressForm::FormCloseQuery(ui::Form&, bool& canClose) {
    canClose = false;
    CancelButtonClick(*CancelButton);
}

UnattendedWindow::UnattendedWindow(ui::Application& application, TMainForm& form,
                                   TProgressForm* progress)
    : application_(application), form_(form), progress_(progress) {
    if (progress_ != nullptr) {
        progress_->Show();
        ProcessPendingMessages();
    }
}

void UnattendedWindow::SetProgressText(std::u16string_view text) {
    if (progress_ != nullptr) {
        progress_->ProgressText->SetText(std::u16string(text));
    }
    ProcessPendingMessages();
}

void UnattendedWindow::StepProgress() {
    if (progress_ != nullptr) {
        progress_->ProgressBar->StepIt();
    }
}

void UnattendedWindow::ProcessPendingMessages() {
    application_.ProcessPendingMessages();
}

bool UnattendedWindow::CancelRequested() const {
    return progress_ != nullptr && progress_->CancelRequested();
}

platform::DialogResult UnattendedWindow::ShowMessageBox(
    const platform::MessageBoxRequest& request) {
    return form_.ShowMessageBox(request);
}

void UnattendedWindow::SetPageCaption(std::u16string_view caption) {
    pageCaption_ = caption;
}

int UnattendedWindow::ProgressMax() const {
    return progress_ != nullptr ? progress_->ProgressBar->Max() : progressMax_;
}

void UnattendedWindow::SetProgressMax(int maximum) {
    progressMax_ = maximum;
    if (progress_ != nullptr) {
        progress_->ProgressBar->SetRange(progress_->ProgressBar->Min(), maximum);
    }
}

void UnattendedWindow::SetProgressPosition(int position) {
    if (progress_ != nullptr) {
        progress_->ProgressBar->SetPosition(position);
    }
}

}  // namespace tolva::setup

#pragma once
// The Installing page of an unattended run. /PASSIVE shows a small window of its own instead of the
// wizard: the progress text, the bar and Cancel, which ends the installation without a question.
// /QUIET shows nothing. The user details are the main window's, which the choices filled.

#include <string>
#include <string_view>

#include "setup/install_window.h"
#include "setup/main_form.h"
#include "ui/application.h"
#include "ui/form.h"

namespace tolva::setup {

class TProgressForm : public ui::Form {
public:
    // caption: the setup title.
    TProgressForm(ui::Application& application, std::u16string caption);

    bool CancelRequested() const { return cancelRequested_; }

    void CancelButtonClick(ui::Component& sender);
    void FormCloseQuery(ui::Form& sender, bool& canClose);

    ui::Component* ProgressText = nullptr;
    ui::Component* ProgressBar = nullptr;
    ui::Component* CancelButton = nullptr;

private:
    bool cancelRequested_ = false;
};

class UnattendedWindow : public InstallWindow {
public:
    // progress: the /PASSIVE window, shown from here on; none for /QUIET.
    UnattendedWindow(ui::Application& application, TMainForm& form, TProgressForm* progress);

    void SetProgressText(std::u16string_view text) override;
    void StepProgress() override;
    void ProcessPendingMessages() override;
    bool CancelRequested() const override;
    platform::DialogResult ShowMessageBox(const platform::MessageBoxRequest& request) override;
    net::SetupMailDetails UserDetails() const override { return form_.UserDetails(); }
    std::u16string PageCaption() const override { return pageCaption_; }
    void SetPageCaption(std::u16string_view caption) override;
    int ProgressMax() const override;
    void SetProgressMax(int maximum) override;
    void SetProgressPosition(int position) override;
    void Repaint() override { ProcessPendingMessages(); }

private:
    ui::Application& application_;
    TMainForm& form_;
    TProgressForm* progress_;
    std::u16string pageCaption_;
    int progressMax_ = 12;
};

}  // namespace tolva::setup

#pragma once
// The installer's main window: a fixed-size page wizard (welcome, licence agreement, user details,
// setup type, components, install folder, installing, finished) with a header strip and the
// button row Help, Back, Next and Cancel. It owns the setup state of the run.

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "setup/deployment_state.h"
#include "setup/install_window.h"
#include "setup/module_fetch.h"
#include "setup/process_end.h"
#include "setup/setup_state.h"
#include "setup/wizard_links.h"
#include "ui/application.h"
#include "ui/form.h"
#include "util/setup_log_sink.h"
#include "winsys/service_control_window.h"

namespace tolva::setup {

class TMainForm : public ui::Form,
                  public DeploymentProgress,
                  public InstallWindow,
                  public winsys::ServiceControlWindow {
public:
    // Pages by PageIndex.
    static constexpr int kWelcomePage = 0;
    static constexpr int kLicensePage = 1;
    static constexpr int kCredentialsPage = 2;
    static constexpr int kSetupTypePage = 3;
    static constexpr int kComponentsPage = 4;
    static constexpr int kInstallFolderPage = 5;
    static constexpr int kInstallingPage = 6;
    static constexpr int kFinishedPage = 7;
    static constexpr int kFinishActionsPage = 8;
    // The tags that tell Back and Next apart in BackButtonClick.
    static constexpr int kBackTag = 0;
    static constexpr int kNextTag = 1;
    // A mouse click toggles a tree node only this far from the tree's left edge or further.
    static constexpr int kTreeClickMinX = 20;

    TMainForm(ui::Application& application, const platform::Platform& platform,
              util::SetupLogSink& log, ProcessEnd& processEnd, WizardLinks links = {});

    void SetLinks(const WizardLinks& links) { links_ = links; }

    SetupState State;

    // Shows the page of State.PageIndex.
    void SetupPage();

    // The Installing page, as the install sequence and the uninstall drive it.
    void SetProgressText(std::u16string_view text) override;
    void ShowProgressText(std::u16string_view text) override { SetProgressText(text); }
    void StepProgress() override;
    void ProcessPendingMessages() override;
    std::u16string PageCaption() const override;
    void SetPageCaption(std::u16string_view caption) override;
    int ProgressMax() const override;
    void SetProgressMax(int maximum) override;
    void SetProgressPosition(int position) override;
    void Repaint() override { ProcessPendingMessages(); }
    bool CancelRequested() const override { return cancelRequested_; }
    platform::DialogResult ShowMessageBox(const platform::MessageBoxRequest& request) override;
    net::SetupMailDetails UserDetails() const override;

    // The component tree.
    ComponentSelection SelectedComponents() const;
    bool IsComponentSelected(int32_t key) const;
    void SetComponentState(int32_t key, int state);

    // What the start-up routine shows of an earlier installation and of the registry.
    void SetSetupTypeHeading(std::u16string text);
    void HideInstallationMode();
    // Makes the webmail upgrade note of the Finished page visible with its link's address.
    void ShowWebmailNote(std::u16string address);
    // Fills the user-details fields; the country is chosen when the list has it.
    void SetUserDetails(std::u16string name, std::u16string email, std::u16string company,
                        std::u16string_view country);
    void SetAgreementText(std::u16string text);
    // Fills "%s" of the welcome heading with the version.
    void FillWelcomeVersion(std::u16string_view version);
    // The installation folder shown on the Install folder page.
    void ShowInstallFolder();
    // What entering the Components page does to the tree (the exclusions of the last run
    // deselected), and what leaving it keeps of the tree (the exclusions of this run).
    void PreselectComponents();
    void StoreComponentChoice();

    // Handlers, named after their controls.
    void FormShow(ui::Form& sender);
    void FormKeyPress(ui::Form& sender, char16_t& key);
    void FormCloseQuery(ui::Form& sender, bool& canClose);
    void BackButtonClick(ui::Component& sender);
    void CloseButtonClick(ui::Component& sender);
    void HelpButtonClick(ui::Component& sender);
    void BrowseButtonClick(ui::Component& sender);
    void WMURLLabelClick(ui::Component& sender);
    void ComponentsListClick(ui::Component& sender);
    void ComponentsListKeyPress(ui::Component& sender, char16_t& key);
    void NameEditChange(ui::Component& sender);
    void LicenseDisagreeClick(ui::Component& sender);

    // Header strip and button row.
    ui::Component* HeaderPanel = nullptr;
    ui::Component* PageCaptionLabel = nullptr;
    ui::Component* LogoImage = nullptr;
    ui::Component* HeaderBevel = nullptr;
    ui::Component* FooterBevel = nullptr;
    ui::Component* CorvaneSetupLabel = nullptr;
    ui::Component* HelpButton = nullptr;
    ui::Component* BackButton = nullptr;
    ui::Component* NextButton = nullptr;
    ui::Component* CloseButton = nullptr;
    // Pages.
    ui::Component* WelcomePanel = nullptr;
    ui::Component* WelcomeImage = nullptr;
    ui::Component* AboutLabel = nullptr;
    ui::Component* CheckLatest = nullptr;
    ui::Component* LicensePanel = nullptr;
    ui::Component* LicenseMemo = nullptr;
    ui::Component* LicenseAgree = nullptr;
    ui::Component* CredentialsPanel = nullptr;
    ui::Component* NameEdit = nullptr;
    ui::Component* EmailEdit = nullptr;
    ui::Component* CompanyEdit = nullptr;
    ui::Component* CountryEdit = nullptr;
    ui::Component* SetupTypePanel = nullptr;
    ui::Component* SetupTypeLabel = nullptr;
    ui::Component* NewSetupMode = nullptr;
    ui::Component* SetupModeBasic = nullptr;
    ui::Component* SetupModeAdvanced = nullptr;
    ui::Component* SetupComponents = nullptr;
    ui::Component* ComponentsList = nullptr;
    ui::Component* InstallPanel = nullptr;
    ui::Component* PathEdit = nullptr;
    ui::Component* BrowseButton = nullptr;
    ui::Component* InstallingPanel = nullptr;
    ui::Component* InstallPanelText = nullptr;
    ui::Component* ProgressBar = nullptr;
    ui::Component* FinishedPanel = nullptr;
    ui::Component* RunConfig = nullptr;
    ui::Component* RunTutorial = nullptr;
    ui::Component* ShowTutorial = nullptr;
    ui::Component* WMUpgradePanel = nullptr;
    ui::Component* OpenWMGuideCheckbox = nullptr;
    ui::Component* WMURLLabel = nullptr;

private:
    void BuildFrame();
    void BuildWelcomePage();
    void BuildLicensePage();
    void BuildCredentialsPage();
    void BuildSetupTypePage();
    void BuildComponentsPage();
    void BuildInstallFolderPage();
    void BuildInstallingPage();
    void BuildFinishedPage();
    // A page panel below the header strip, hidden until its page is set up.
    ui::Component& AddPage(const char* name);
    // A word-wrapped label across the page.
    ui::Component& AddText(ui::Component& parent, const char* name, ui::Bounds bounds,
                           std::u16string text);

    // Asks the cancel question. Yes ends the process before the install sequence; during it the
    // answer is recorded for the sequence, which ends the installation where it stands.
    void AskCancel();
    void RunInstallSequence(ui::Component& sender);
    void RunFinishActions();
    void OpenDocument(const std::string& file);

    const platform::Platform& platform_;
    util::SetupLogSink& log_;
    ProcessEnd& processEnd_;
    WizardLinks links_;
    bool installing_ = false;
    bool cancelRequested_ = false;
};

}  // namespace tolva::setup

#include "setup/main_form.h"

#include <algorithm>

#include "i18n/ui_strings.h"
#include "setup/component_tree.h"
#include "setup/exit_codes.h"
#include "setup/package_table.h"
#include "setup/user_details_check.h"
#include "util/text.h"

namespace tolva::setup {
namespace {

using i18n::Text;
namespace key = component_key;

constexpr char16_t kEscape = 27;
constexpr char16_t kSpace = u' ';

// What a page does to a button of the row.
enum class Button { kHidden, kShown, kUnchanged };

struct PageRow {
    Button back;
    // Caption keys; kUnchanged pages keep theirs.
    i18n::UIString next;
    i18n::UIString cancel;
};

// By PageIndex; the Installing page leaves the buttons as they are.
constexpr PageRow kPages[] = {
    {Button::kHidden, i18n::cNext, i18n::cCancel},
    {Button::kShown, i18n::cYes, i18n::cNo},
    {Button::kShown, i18n::cNext, i18n::cCancel},
    {Button::kShown, i18n::cNext, i18n::cCancel},
    {Button::kShown, i18n::cNext, i18n::cCancel},
    {Button::kShown, i18n::cInstallC, i18n::cCancel},
    {Button::kUnchanged, i18n::cNext, i18n::cCancel},
    {Button::kHidden, i18n::cFinish, i18n::cCancel},
    {Button::kShown, i18n::cFinish, i18n::cCancel},
};

}  // namespace

void TMainForm::SetupPage() {
    const int page = std::clamp(State.PageIndex, kWelcomePage, kFinishActionsPage);
    ui::Component* const panels[] = {WelcomePanel,    LicensePanel,    CredentialsPanel,
                                     SetupTypePanel,  SetupComponents, InstallPanel,
                                     InstallingPanel, FinishedPanel,   FinishedPanel};
    ui::Component* front = panels[page];
    for (ui::Component* panel : panels) {
        if (panel != front) {
            panel->SetEnabled(false);
            panel->SetVisible(false);
        }
    }
    front->SetVisible(true);
    front->SetEnabled(page != kFinishActionsPage);
    front->BringToFront();

    const bool header = page != kWelcomePage;
    for (ui::Component* part : {HeaderPanel, HeaderBevel, FooterBevel, CorvaneSetupLabel}) {
        part->SetVisible(header);
    }

    const PageRow& row = kPages[page];
    if (row.back != Button::kUnchanged) {
        BackButton->SetVisible(row.back == Button::kShown);
        BackButton->SetEnabled(row.back == Button::kShown);
        // A language file may translate the captions without a form entry for the buttons.
        BackButton->SetText(Text(i18n::cBack));
        NextButton->SetText(Text(row.next));
        CloseButton->SetText(Text(row.cancel));
        NextButton->SetEnabled(true);
    }

    switch (page) {
        case kWelcomePage:
            PageCaptionLabel->SetText(AboutLabel->Text());
            if (Showing()) {
                SetFocus(*NextButton);
            }
            break;
        case kLicensePage:
            PageCaptionLabel->SetText(Text(i18n::cSLA));
            NextButton->SetEnabled(LicenseAgree->Checked());
            SetFocus(*LicenseMemo);
            break;
        case kCredentialsPage:
            PageCaptionLabel->SetText(Text(i18n::cCredentials));
            NameEditChange(*NameEdit);
            if (!HasText(NameEdit->Text())) {
                SetFocus(*NameEdit);
                NameEdit->SelectAll();
            }
            break;
        case kSetupTypePage:
            PageCaptionLabel->SetText(Text(i18n::cSetupType));
            break;
        case kComponentsPage:
            PageCaptionLabel->SetText(Text(i18n::cComponentSetup));
            break;
        case kInstallFolderPage:
            PageCaptionLabel->SetText(Text(i18n::cStartCopyingFiles));
            ShowInstallFolder();
            break;
        case kInstallingPage:
            PageCaptionLabel->SetText(Text(i18n::cInstallingFiles) + u" " + Text(i18n::cName));
            break;
        case kFinishedPage:
            PageCaptionLabel->SetText(Text(i18n::cSetupFinished));
            if (State.IsUpgrade) {
                ShowTutorial->SetChecked(false);
                RunTutorial->SetChecked(false);
                RunTutorial->SetEnabled(false);
            }
            SetFocus(*NextButton);
            break;
        default:
            PageCaptionLabel->SetText(Text(i18n::cTutorialCaption));
            NextButton->SetEnabled(false);
            break;
    }
}

void TMainForm::BackButtonClick(ui::Component& sender) {
    const bool next = sender.Tag() == kNextTag;
    State.PageIndex =
        std::clamp(State.PageIndex + (next ? 1 : -1), kWelcomePage, kFinishActionsPage);
    if (next && State.PageIndex == kComponentsPage && NewSetupMode->Visible() &&
        SetupModeAdvanced->Checked() && links_.databaseDialog != nullptr) {
        const std::optional<std::string> confirmed =
            links_.databaseDialog->EditConnection(State.DatabaseConnectionString);
        if (confirmed) {
            State.DatabaseConnectionString = *confirmed;
        } else {
            State.PageIndex = kSetupTypePage;
        }
    }
    SetupPage();
    switch (State.PageIndex) {
        case kComponentsPage:
            PreselectComponents();
            break;
        case kInstallFolderPage:
            StoreComponentChoice();
            break;
        case kInstallingPage:
            RunInstallSequence(sender);
            break;
        case kFinishActionsPage:
            RunFinishActions();
            break;
        default:
            break;
    }
}

void TMainForm::PreselectComponents() {
    const std::pair<bool, int32_t> exclusions[] = {
        {State.NoInstallMail, key::kWebmail},        {State.NoInstallIAS, key::kAntiSpam},
        {State.NoInstallAV, key::kAntiVirus},        {State.NoInstallCalendar, key::kGroupWare},
        {State.NoInstallIM, key::kInstantMessaging},
    };
    for (const auto& [excluded, component] : exclusions) {
        if (excluded) {
            setup::SetComponentState(*ComponentsList, component, kNotSelected);
        }
    }
    ComponentsList->FullExpand();
    ComponentsList->SetSelectedNode(0);
    RecomputeGroups(*ComponentsList);
}

void TMainForm::StoreComponentChoice() {
    auto left = [&](int32_t component) {
        return ComponentState(*ComponentsList, component) == kNotSelected;
    };
    State.NoInstallMail = left(key::kWebmail);
    State.NoInstallIAS = left(key::kAntiSpam);
    State.NoInstallAV = left(key::kAntiVirus);
    State.NoInstallCalendar = left(key::kGroupWare);
    State.NoInstallIM = left(key::kInstantMessaging);
}

void TMainForm::RunInstallSequence(ui::Component& sender) {
    ui::Display& display = GetApplication().GetDisplay();
    display.SetBusy(true);
    NextButton->SetEnabled(false);
    BackButton->SetEnabled(false);
    installing_ = true;
    // The sequence ends the process itself on every failure: its return is the way to Finished.
    if (links_.installRunner != nullptr) {
        links_.installRunner->RunInstallSequence();
    }
    installing_ = false;
    NextButton->SetEnabled(true);
    BackButton->SetEnabled(true);
    display.SetBusy(false);
    BackButtonClick(sender);
}

void TMainForm::RunFinishActions() {
    if (links_.finishSteps != nullptr) {
        if (SetupModeAdvanced->Checked()) {
            links_.finishSteps->SwitchToDatabaseStorage(State.DatabaseConnectionString);
        }
        if (RunTutorial->Checked()) {
            links_.finishSteps->RunPostInstallWizard();
        }
        links_.finishSteps->NotifyControlService();
    }
    if (ShowTutorial->Checked()) {
        OpenDocument(State.InstallDir + "doc\\quickstart.pdf");
    }
    if (WMUpgradePanel->Visible() && OpenWMGuideCheckbox->Checked()) {
        OpenDocument(State.InstallDir + "doc\\webmailguide.pdf");
    }
    if (RunConfig->Checked()) {
        (void)platform_.shell->Open(State.InstallDir + "config.exe", "");
    }
    processEnd_.EndProcess(kExitSuccess);
}

// Documents missing from the installation are skipped without a word.
void TMainForm::OpenDocument(const std::string& file) {
    if (platform_.files->FileExists(file)) {
        (void)platform_.shell->Open(file, "");
    }
}

void TMainForm::AskCancel() {
    platform::MessageBoxRequest question;
    question.text = Text(i18n::cDoYouExit);
    question.caption = Text(i18n::cDoYouExitTitle);
    question.buttons = platform::DialogButtons::kYesNo;
    question.icon = platform::DialogIcon::kQuestion;
    question.taskModal = true;
    if (platform_.dialogs->ShowMessageBox(question) != platform::DialogResult::kYes) {
        return;
    }
    if (installing_) {
        cancelRequested_ = true;
        return;
    }
    log_.Write("Setup cancelled\r\n");
    // Before the sequence nothing was changed.
    processEnd_.EndProcess(kExitSuccess);
}

void TMainForm::CloseButtonClick(ui::Component&) {
    AskCancel();
}

void TMainForm::FormKeyPress(ui::Form&, char16_t& key) {
    if (key == kEscape) {
        key = 0;
        AskCancel();
    }
}

void TMainForm::FormCloseQuery(ui::Form&, bool& canClose) {
    canClose = false;
    AskCancel();
}

// The start-up has run before the window is first shown; now visible, the page takes the focus.
void TMainForm::FormShow(ui::Form&) {
    SetupPage();
}

void TMainForm::HelpButtonClick(ui::Component&) {
    (void)platform_.shell->Open(State.SetupFolder + "installguide.pdf", "");
}

void TMainForm::WMURLLabelClick(ui::Component&) {
    (void)platform_.shell->Open(platform_.system->WideToAnsi(WMURLLabel->Text()), "");
}

void TMainForm::BrowseButtonClick(ui::Component&) {
    if (links_.folderBrowser == nullptr) {
        return;
    }
    std::string folder = State.InstallDir;
    if (links_.folderBrowser->Browse(folder)) {
        State.InstallDir = folder;
        ShowInstallFolder();
    }
}

void TMainForm::ShowInstallFolder() {
    PathEdit->SetText(platform_.system->AnsiToWide(State.InstallDir));
}

void TMainForm::ComponentsListClick(ui::Component& sender) {
    const int current = sender.SelectedNode();
    const ui::Point pointer = PointerPosition(sender);
    if (current >= 0 && NodeAt(sender, pointer) == current && pointer.x >= kTreeClickMinX) {
        ToggleComponentNode(sender, current);
    }
}

void TMainForm::ComponentsListKeyPress(ui::Component& sender, char16_t& key) {
    if (key == kSpace) {
        key = 0;
        ToggleComponentNode(sender, sender.SelectedNode());
    }
}

void TMainForm::NameEditChange(ui::Component&) {
    NextButton->SetEnabled(HasText(NameEdit->Text()) && PlausibleEmail(EmailEdit->Text()));
}

void TMainForm::LicenseDisagreeClick(ui::Component&) {
    NextButton->SetEnabled(State.PageIndex != kLicensePage || LicenseAgree->Checked());
}

void TMainForm::SetProgressText(std::u16string_view text) {
    InstallPanelText->SetText(std::u16string(text));
    ProcessPendingMessages();
}

void TMainForm::StepProgress() {
    ProgressBar->StepIt();
}

void TMainForm::ProcessPendingMessages() {
    GetApplication().ProcessPendingMessages();
}

std::u16string TMainForm::PageCaption() const {
    return PageCaptionLabel->Text();
}

void TMainForm::SetPageCaption(std::u16string_view caption) {
    PageCaptionLabel->SetText(std::u16string(caption));
}

int TMainForm::ProgressMax() const {
    return ProgressBar->Max();
}

void TMainForm::SetProgressMax(int maximum) {
    ProgressBar->SetRange(ProgressBar->Min(), maximum);
}

void TMainForm::SetProgressPosition(int position) {
    ProgressBar->SetPosition(position);
}

platform::DialogResult TMainForm::ShowMessageBox(const platform::MessageBoxRequest& request) {
    return platform_.dialogs->ShowMessageBox(request);
}

net::SetupMailDetails TMainForm::UserDetails() const {
    net::SetupMailDetails details;
    details.name = NameEdit->Text();
    details.email = EmailEdit->Text();
    details.company = CompanyEdit->Text();
    details.country = CountryEdit->Text();
    return details;
}

ComponentSelection TMainForm::SelectedComponents() const {
    ComponentSelection selected{};
    for (size_t key = 0; key < selected.size(); ++key) {
        selected[key] = IsComponentSelected(static_cast<int32_t>(key));
    }
    return selected;
}

bool TMainForm::IsComponentSelected(int32_t key) const {
    return ComponentState(*ComponentsList, key) == kSelected;
}

void TMainForm::SetComponentState(int32_t key, int state) {
    setup::SetComponentState(*ComponentsList, key, state);
}

void TMainForm::SetSetupTypeHeading(std::u16string text) {
    SetupTypeLabel->SetText(std::move(text));
}

void TMainForm::HideInstallationMode() {
    NewSetupMode->SetVisible(false);
}

void TMainForm::ShowWebmailNote(std::u16string address) {
    WMURLLabel->SetText(std::move(address));
    WMUpgradePanel->SetVisible(true);
}

void TMainForm::SetUserDetails(std::u16string name, std::u16string email, std::u16string company,
                               std::u16string_view country) {
    NameEdit->SetText(std::move(name));
    EmailEdit->SetText(std::move(email));
    CompanyEdit->SetText(std::move(company));
    const auto& items = CountryEdit->Items();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].text == country) {
            // The list's text is what the installation records as the country.
            CountryEdit->SetItemIndex(static_cast<int>(i));
            CountryEdit->SetText(items[i].text);
            break;
        }
    }
}

void TMainForm::SetAgreementText(std::u16string text) {
    LicenseMemo->SetText(std::move(text));
}

void TMainForm::FillWelcomeVersion(std::u16string_view version) {
    AboutLabel->SetText(util::FillMarks(AboutLabel->Text(), {version}));
}

}  // namespace tolva::setup

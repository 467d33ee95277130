// The main window's frame and pages as they are first built: controls, design-time captions and
// initial states.

#include "i18n/ui_strings.h"
#include "setup/component_tree.h"
#include "setup/country_list.h"
#include "setup/main_form.h"
#include "setup/setup_pictures.h"

namespace tolva::setup {
namespace {

constexpr int kWidth = 495;
constexpr int kHeight = 341;
constexpr int kHeaderHeight = 58;
constexpr int kPageTop = kHeaderHeight + 2;
constexpr int kFooterTop = 296;
constexpr int kPageHeight = kFooterTop - kPageTop;
constexpr int kButtonTop = 308;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kMargin = 20;
constexpr int kInnerWidth = kWidth - 2 * kMargin;
// Controls inside a group box.
constexpr int kGroupMargin = 12;
constexpr int kGroupInnerWidth = kInnerWidth - 2 * kGroupMargin;
constexpr int kLabelHeight = 13;
constexpr int kCheckHeight = 17;
constexpr int kEditHeight = 21;

}  // namespace

TMainForm::TMainForm(ui::Application& application, const platform::Platform& platform,
                     util::SetupLogSink& log, ProcessEnd& processEnd, WizardLinks links)
    : Form(application, "TMainForm", "MainForm"),
      platform_(platform),
      log_(log),
      processEnd_(processEnd),
      links_(links) {
    SetCaption(platform_.system->AnsiToWide(State.SetupTitle));
    SetBorderStyle(ui::BorderStyle::kSingle);
    SetPosition(ui::FormPosition::kScreenCenter);
    SetClientSize(kWidth, kHeight);
    SetKeyPreview(true);

    BuildFrame();
    BuildWelcomePage();
    BuildLicensePage();
    BuildCredentialsPage();
    BuildSetupTypePage();
    BuildComponentsPage();
    BuildInstallFolderPage();
    BuildInstallingPage();
    BuildFinishedPage();

    Bind(events.show, &TMainForm::FormShow);
    Bind(events.keyPress, &TMainForm::FormKeyPress);
    Bind(events.closeQuery, &TMainForm::FormCloseQuery);
}

void TMainForm::BuildFrame() {
    HeaderPanel = &Add(
        {.className = "TTntPanel", .name = "HeaderPanel", .bounds = {0, 0, kWidth, kHeaderHeight}});
    HeaderPanel->SetColour(ui::kColourWhite);
    HeaderPanel->SetBevelOuter(ui::PanelBevel::kNone);
    PageCaptionLabel = &Add({.className = "TTntLabel",
                             .name = "PageCaptionLabel",
                             .parent = HeaderPanel,
                             .bounds = {kMargin, 22, kWidth - 2 * kMargin - kLogoSize - 8, 16}});
    PageCaptionLabel->SetFont({.bold = true});
    PageCaptionLabel->SetShowAccelChar(false);
    LogoImage = &Add({.className = "TImage",
                      .name = "LogoImage",
                      .parent = HeaderPanel,
                      .bounds = {kWidth - kMargin - kLogoSize, (kHeaderHeight - kLogoSize) / 2,
                                 kLogoSize, kLogoSize}});
    LogoImage->SetPicture(Logo());
    HeaderBevel = &Add(
        {.className = "TBevel", .name = "HeaderBevel", .bounds = {0, kHeaderHeight, kWidth, 2}});
    HeaderBevel->SetBevel(ui::BevelShape::kTopLine, ui::BevelStyle::kLowered);

    FooterBevel = &Add(
        {.className = "TBevel", .name = "FooterBevel", .bounds = {0, kFooterTop + 6, kWidth, 2}});
    FooterBevel->SetBevel(ui::BevelShape::kTopLine, ui::BevelStyle::kLowered);
    CorvaneSetupLabel = &Add({.className = "TTntLabel",
                              .name = "CorvaneSetupLabel",
                              .bounds = {8, kFooterTop, 120, kLabelHeight},
                              .text = u"Corvane Setup System"});
    CorvaneSetupLabel->SetFont({.colour = ui::kColourGrayText});

    const int cancelLeft = kWidth - 10 - kButtonWidth;
    const int nextLeft = cancelLeft - 10 - kButtonWidth;
    const int backLeft = nextLeft - kButtonWidth;
    HelpButton = &Add({.className = "TTntButton",
                       .name = "HelpButton",
                       .bounds = {10, kButtonTop, kButtonWidth, kButtonHeight},
                       .text = u"&Help"});
    BackButton = &Add({.className = "TTntButton",
                       .name = "BackButton",
                       .bounds = {backLeft, kButtonTop, kButtonWidth, kButtonHeight},
                       .text = i18n::Text(i18n::cBack)});
    BackButton->SetTag(kBackTag);
    NextButton = &Add({.className = "TTntButton",
                       .name = "NextButton",
                       .bounds = {nextLeft, kButtonTop, kButtonWidth, kButtonHeight},
                       .text = i18n::Text(i18n::cNext)});
    NextButton->SetTag(kNextTag);
    NextButton->SetDefault(true);
    CloseButton = &Add({.className = "TTntButton",
                        .name = "CloseButton",
                        .bounds = {cancelLeft, kButtonTop, kButtonWidth, kButtonHeight},
                        .text = i18n::Text(i18n::cCancel)});

    Bind(HelpButton->events.click, &TMainForm::HelpButtonClick);
    Bind(BackButton->events.click, &TMainForm::BackButtonClick);
    Bind(NextButton->events.click, &TMainForm::BackButtonClick);
    Bind(CloseButton->events.click, &TMainForm::CloseButtonClick);
}

ui::Component& TMainForm::AddPage(const char* name) {
    auto& page =
        Add({.className = "TTntPanel", .name = name, .bounds = {0, kPageTop, kWidth, kPageHeight}});
    page.SetBevelOuter(ui::PanelBevel::kNone);
    page.SetVisible(false);
    return page;
}

ui::Component& TMainForm::AddText(ui::Component& parent, const char* name, ui::Bounds bounds,
                                  std::u16string text) {
    auto& label = Add({.className = "TTntLabel",
                       .name = name,
                       .parent = &parent,
                       .bounds = bounds,
                       .text = std::move(text)});
    label.SetWordWrap(true);
    label.SetShowAccelChar(false);
    return label;
}

void TMainForm::BuildWelcomePage() {
    WelcomePanel = &Add({.className = "TTntPanel",
                         .name = "WelcomePanel",
                         .bounds = {0, 0, kWidth, kFooterTop + 6}});
    WelcomePanel->SetBevelOuter(ui::PanelBevel::kNone);
    WelcomePanel->SetColour(ui::kColourWhite);
    WelcomeImage = &Add({.className = "TImage",
                         .name = "WelcomeImage",
                         .parent = WelcomePanel,
                         .bounds = {0, 0, kWelcomePictureWidth, kFooterTop + 6}});
    WelcomeImage->SetPicture(WelcomePicture());
    const int left = kWelcomePictureWidth + 16;
    const int width = kWidth - left - kMargin;
    AboutLabel = &AddText(*WelcomePanel, "AboutLabel", {left, 20, width, 40},
                          u"Welcome to the Corvane Mail Server %s Setup Wizard");
    AboutLabel->SetFont({.size = 12, .bold = true});
    AddText(*WelcomePanel, "ProductLabel", {left, 76, width, 68},
            u"Corvane Tolva Mail Server is the ultimate communication solution providing "
            u"complete messaging solutions, instant messaging, VoIP, groupware, antispam and "
            u"antivirus features.");
    AddText(*WelcomePanel, "ContinueLabel", {left, 160, width, kLabelHeight},
            u"Click Next to continue with the Setup program.");
    CheckLatest = &Add({.className = "TTntCheckBox",
                        .name = "CheckLatest",
                        .parent = WelcomePanel,
                        .bounds = {left, 250, width, kCheckHeight},
                        .text = u"Check for new version on the Internet"});
    CheckLatest->SetVisible(false);
}

void TMainForm::BuildLicensePage() {
    LicensePanel = &AddPage("LicensePanel");
    AddText(*LicensePanel, "LicenseLabel", {kMargin, 10, kInnerWidth, kLabelHeight},
            u"Do you agree with the following license agreement?");
    LicenseMemo = &Add({.className = "TTntMemo",
                        .name = "LicenseMemo",
                        .parent = LicensePanel,
                        .bounds = {kMargin, 30, kInnerWidth, 170}});
    LicenseMemo->SetReadOnly(true);
    LicenseAgree = &Add({.className = "TTntCheckBox",
                         .name = "LicenseAgree",
                         .parent = LicensePanel,
                         .bounds = {kMargin, 208, kInnerWidth, kCheckHeight},
                         .text = u"I agree with the license agreement"});
    Bind(LicenseAgree->events.click, &TMainForm::LicenseDisagreeClick);
}

void TMainForm::BuildCredentialsPage() {
    CredentialsPanel = &AddPage("CredentialsPanel");
    AddText(*CredentialsPanel, "CredentialsLabel", {kMargin, 10, kInnerWidth, 42},
            u"Fill your details into the fields below. Name and E-mail are required. Please, use "
            u"your real name and real e-mail address. The email address is required to get this "
            u"product working.");
    auto& group = Add({.className = "TTntGroupBox",
                       .name = "UserDetailsGroup",
                       .parent = CredentialsPanel,
                       .bounds = {kMargin, 62, kInnerWidth, 150},
                       .text = u"User Details"});
    constexpr int kFieldLeft = 110;
    constexpr int kFieldWidth = kInnerWidth - kFieldLeft - kGroupMargin;
    struct Field {
        const char* label;
        const char16_t* caption;
        const char* edit;
        const char* className;
    };
    const Field fields[] = {
        {"NameLabel", u"Name:", "NameEdit", "TTntEdit"},
        {"EmailLabel", u"E-mail:", "EmailEdit", "TTntEdit"},
        {"CompanyLabel", u"Organization:", "CompanyEdit", "TTntEdit"},
        {"CountryLabel", u"Country:", "CountryEdit", "TTntComboBox"},
    };
    ui::Component* edits[4] = {};
    int top = 24;
    for (size_t i = 0; i < std::size(fields); ++i, top += 30) {
        auto& edit = Add({.className = fields[i].className,
                          .name = fields[i].edit,
                          .parent = &group,
                          .bounds = {kFieldLeft, top, kFieldWidth, kEditHeight}});
        auto& label =
            Add({.className = "TTntLabel",
                 .name = fields[i].label,
                 .parent = &group,
                 .bounds = {kGroupMargin, top + 4, kFieldLeft - kGroupMargin - 4, kLabelHeight},
                 .text = fields[i].caption});
        label.SetFocusControl(&edit);
        edits[i] = &edit;
    }
    NameEdit = edits[0];
    EmailEdit = edits[1];
    CompanyEdit = edits[2];
    CountryEdit = edits[3];
    CountryEdit->SetComboStyle(ui::ComboStyle::kDropDownList);
    CountryEdit->SetItems({kCountries.begin(), kCountries.end()});
    Bind(NameEdit->events.change, &TMainForm::NameEditChange);
    Bind(EmailEdit->events.change, &TMainForm::NameEditChange);
}

void TMainForm::BuildSetupTypePage() {
    SetupTypePanel = &AddPage("SetupTypePanel");
    SetupTypeLabel = &AddText(*SetupTypePanel, "SetupTypeLabel", {kMargin, 10, kInnerWidth, 28},
                              u"Choose how the mail server is to be installed.");
    NewSetupMode = &Add({.className = "TTntGroupBox",
                         .name = "NewSetupMode",
                         .parent = SetupTypePanel,
                         .bounds = {kMargin, 48, kInnerWidth, 80},
                         .text = u"Installation Mode"});
    SetupModeBasic = &Add({.className = "TTntRadioButton",
                           .name = "SetupModeBasic",
                           .parent = NewSetupMode,
                           .bounds = {kGroupMargin, 22, kGroupInnerWidth, kCheckHeight},
                           .text = u"Basic (recommended for under 100 accounts)"});
    SetupModeAdvanced = &Add({.className = "TTntRadioButton",
                              .name = "SetupModeAdvanced",
                              .parent = NewSetupMode,
                              .bounds = {kGroupMargin, 48, kGroupInnerWidth, kCheckHeight},
                              .text = u"Advanced (100+ accounts, requires external database)"});
    SetupModeBasic->SetChecked(true);
}

void TMainForm::BuildComponentsPage() {
    SetupComponents = &AddPage("SetupComponents");
    AddText(*SetupComponents, "ComponentsLabel", {kMargin, 10, kInnerWidth, 28},
            u"Select components you want to have installed. Selected components not found in this "
            u"package will be automatically downloaded from the Internet.");
    auto& group = Add({.className = "TTntGroupBox",
                       .name = "ComponentsGroup",
                       .parent = SetupComponents,
                       .bounds = {kMargin, 44, kInnerWidth, 188},
                       .text = u"Components"});
    // The Unicode tree, so that translated component names survive any code page.
    ComponentsList = &Add({.className = "TTntTreeView",
                           .name = "ComponentsList",
                           .parent = &group,
                           .bounds = {kGroupMargin, 20, kGroupInnerWidth, 156},
                           .kind = ui::Kind::kTreeView,
                           .kindGiven = true});
    ComponentsList->SetReadOnly(true);
    ComponentsList->SetStatePictures(CheckStatePictures());
    BuildComponentTree(*ComponentsList);
    Bind(ComponentsList->events.click, &TMainForm::ComponentsListClick);
    Bind(ComponentsList->events.keyPress, &TMainForm::ComponentsListKeyPress);
}

void TMainForm::BuildInstallFolderPage() {
    InstallPanel = &AddPage("InstallPanel");
    AddText(*InstallPanel, "InstallFolderLabel", {kMargin, 10, kInnerWidth, 28},
            u"Click the Browse button to select the destination directory. Click the Install "
            u"button to start copying files and to finish the setup process.");
    auto& group = Add({.className = "TTntGroupBox",
                       .name = "DestinationGroup",
                       .parent = InstallPanel,
                       .bounds = {kMargin, 52, kInnerWidth, 60},
                       .text = u"Destination Directory"});
    constexpr int kBrowseWidth = 83;
    PathEdit =
        &Add({.className = "TTntLabel",
              .name = "PathEdit",
              .parent = &group,
              .bounds = {kGroupMargin, 28, kGroupInnerWidth - kBrowseWidth - 10, kLabelHeight},
              .text = u"C:\\Program Files\\Tolva\\"});
    PathEdit->SetShowAccelChar(false);
    BrowseButton = &Add(
        {.className = "TTntButton",
         .name = "BrowseButton",
         .parent = &group,
         .bounds = {kInnerWidth - kGroupMargin - kBrowseWidth, 22, kBrowseWidth, kButtonHeight},
         .text = u"&Browse..."});
    Bind(BrowseButton->events.click, &TMainForm::BrowseButtonClick);
}

void TMainForm::BuildInstallingPage() {
    InstallingPanel = &AddPage("InstallingPanel");
    InstallPanelText = &Add({.className = "TTntLabel",
                             .name = "InstallPanelText",
                             .parent = InstallingPanel,
                             .bounds = {kMargin, 70, kInnerWidth, kLabelHeight}});
    InstallPanelText->SetShowAccelChar(false);
    ProgressBar = &Add({.className = "TProgressBar",
                        .name = "ProgressBar",
                        .parent = InstallingPanel,
                        .bounds = {kMargin, 90, kInnerWidth, 18}});
    ProgressBar->SetRange(0, 12);
    ProgressBar->SetStep(1);
}

void TMainForm::BuildFinishedPage() {
    FinishedPanel = &AddPage("FinishedPanel");
    AddText(*FinishedPanel, "FinishedLabel", {kMargin, 10, kInnerWidth, kLabelHeight},
            u"Installation was successful.");
    auto& actions = Add({.className = "TTntGroupBox",
                         .name = "ActionsGroup",
                         .parent = FinishedPanel,
                         .bounds = {kMargin, 32, kInnerWidth, 90},
                         .text = u"Actions"});
    auto check = [&](const char* name, int top, const char16_t* caption, bool checked) {
        auto& box = Add({.className = "TTntCheckBox",
                         .name = name,
                         .parent = &actions,
                         .bounds = {kGroupMargin, top, kGroupInnerWidth, kCheckHeight},
                         .text = caption});
        box.SetChecked(checked);
        return &box;
    };
    RunConfig = check("RunConfig", 20, u"Open Administration Interface", false);
    RunTutorial = check("RunTutorial", 42, u"Run Installation Wizard", true);
    ShowTutorial = check("ShowTutorial", 64, u"View Quick Start", true);

    WMUpgradePanel = &Add({.className = "TTntPanel",
                           .name = "WMUpgradePanel",
                           .parent = FinishedPanel,
                           .bounds = {kMargin, 130, kInnerWidth, 100}});
    WMUpgradePanel->SetBevelOuter(ui::PanelBevel::kNone);
    WMUpgradePanel->SetVisible(false);
    AddText(*WMUpgradePanel, "WMUpgradeLabel", {0, 0, kInnerWidth, 28},
            u"WebMail Velo has been installed but WebMail Lune remains default. See the webmail "
            u"guide for more information.");
    OpenWMGuideCheckbox = &Add({.className = "TTntCheckBox",
                                .name = "OpenWMGuideCheckbox",
                                .parent = WMUpgradePanel,
                                .bounds = {0, 34, kInnerWidth, kCheckHeight},
                                .text = u"View WebMail Guide"});
    OpenWMGuideCheckbox->SetChecked(true);
    WMURLLabel = &Add({.className = "TTntLabel",
                       .name = "WMURLLabel",
                       .parent = WMUpgradePanel,
                       .bounds = {18, 56, kInnerWidth - 18, kLabelHeight},
                       .text = u"http://localhost/webmail/"});
    WMURLLabel->SetShowAccelChar(false);
    WMURLLabel->SetFont({.underline = true, .colour = ui::kColourBlue});
    WMURLLabel->SetCursor(ui::Cursor::kHandPoint);
    Bind(WMURLLabel->events.click, &TMainForm::WMURLLabelClick);
}

}  // namespace tolva::setup

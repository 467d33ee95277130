#include "provisioning/setup_wizard_form.h"

#include "i18n/ui_strings.h"

namespace tolva::provisioning {
namespace {

using i18n::Text;

constexpr char16_t kEscape = 27;

constexpr int kWidth = 544;
constexpr int kHeight = 367;
constexpr int kHeaderHeight = 57;
constexpr int kPageTop = kHeaderHeight + 2;
constexpr int kPageHeight = 255;
constexpr int kButtonTop = 330;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kMargin = 40;
constexpr int kTextWidth = kWidth - 2 * kMargin;
constexpr int kFieldWidth = 300;
constexpr int kFieldTop = 68;
constexpr int kSecondFieldTop = 140;

// The tags the edits' change handler reads.
constexpr int kHostNameTag = 0;
constexpr int kUserTag = 1;
constexpr int kDomainTag = 2;

}  // namespace

TSetupWizardForm::TSetupWizardForm(ui::Application& application)
    : Form(application, "TSetupWizardForm", "SetupWizardForm") {
    SetCaption(u"Wizard");
    SetBorderStyle(ui::BorderStyle::kDialog);
    SetPosition(ui::FormPosition::kScreenCenter);
    SetClientSize(kWidth, kHeight);
    SetKeyPreview(true);

    TopPanel = &Add(
        {.className = "TTntPanel", .name = "TopPanel", .bounds = {0, 0, kWidth, kHeaderHeight}});
    TopPanel->SetColour(ui::kColourWhite);
    TopPanel->SetBevelOuter(ui::PanelBevel::kNone);
    TopMenuLabel = &Add({.className = "TTntLabel",
                         .name = "TopMenuLabel",
                         .parent = TopPanel,
                         .bounds = {20, 22, kTextWidth, 14}});
    TopMenuLabel->SetFont({.bold = true});
    auto& headerLine =
        Add({.className = "TBevel", .name = "TopBevel", .bounds = {0, kHeaderHeight, kWidth, 2}});
    headerLine.SetBevel(ui::BevelShape::kTopLine, ui::BevelStyle::kLowered);

    NamePanel = &AddPage("NamePanel", "NameInfoLabel",
                         u"Enter the hostname of the mail server computer. It must not be blank. ");
    NameEdit = &AddField(*NamePanel, kFieldTop, "NameLabel", u"Hostname:", "NameEdit", kHostNameTag,
                         {"NameExampleLabel", u"For example: mail.example.com"});

    OtherPanel = &AddPage("OtherPanel", "OtherInfoLabel", u"Enter the name of the primary domain.");
    OtherEdit = &AddField(*OtherPanel, kFieldTop, "OtherLabel", u"Domain:", "OtherEdit", kDomainTag,
                          {"OtherExampleLabel", u"For example: example.com"});

    EmailPanel = &AddPage("EmailPanel", "EmailInfoLabel",
                          u"Enter the username and password of the primary domain administrator. ");
    EmailEdit = &AddField(*EmailPanel, kFieldTop, "EmailLabel", u"Username:", "EmailEdit", kUserTag,
                          {"EmailExampleLabel", u"For example: administrator"});
    PassEdit = &AddField(*EmailPanel, kSecondFieldTop, "PassLabel", u"Password:", "PassEdit",
                         kUserTag, {});
    PassEdit->SetPasswordChar(u'*');

    FinishPanel = &AddPage("FinishPanel", "FinishInfoLabel",
                           u"You have successfully entered all of the information to setup your "
                           u"account.\r\n\r\nTo save these settings, click Finish.");

    auto& buttonLine = Add(
        {.className = "TBevel", .name = "ButtonBevel", .bounds = {0, kButtonTop - 14, kWidth, 2}});
    buttonLine.SetBevel(ui::BevelShape::kTopLine, ui::BevelStyle::kLowered);
    const int cancelLeft = kWidth - 12 - kButtonWidth;
    const int nextLeft = cancelLeft - 10 - kButtonWidth;
    PreviousButton =
        &Add({.className = "TTntButton",
              .name = "PreviousButton",
              .bounds = {nextLeft - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight},
              .text = u"< Back"});
    NextButton = &Add({.className = "TTntButton",
                       .name = "NextButton",
                       .bounds = {nextLeft, kButtonTop, kButtonWidth, kButtonHeight},
                       .text = u"Next >"});
    NextButton->SetDefault(true);
    CancelButton = &Add({.className = "TTntButton",
                         .name = "CancelButton",
                         .bounds = {cancelLeft, kButtonTop, kButtonWidth, kButtonHeight},
                         .text = u"Cancel"});
    CancelButton->SetModalResult(ui::ModalResult::kCancel);

    Bind(events.show, &TSetupWizardForm::FormShow);
    Bind(events.keyPress, &TSetupWizardForm::FormKeyPress);
    Bind(NextButton->events.click, &TSetupWizardForm::NextButtonClick);
    Bind(PreviousButton->events.click, &TSetupWizardForm::PreviousButtonClick);
    for (ui::Component* edit : {NameEdit, OtherEdit, EmailEdit, PassEdit}) {
        Bind(edit->events.change, &TSetupWizardForm::EditChange);
    }
}

ui::Component& TSetupWizardForm::AddPage(const char* panel, const char* textName,
                                         std::u16string text) {
    auto& page = Add(
        {.className = "TTntPanel", .name = panel, .bounds = {0, kPageTop, kWidth, kPageHeight}});
    page.SetBevelOuter(ui::PanelBevel::kNone);
    auto& info = Add({.className = "TTntLabel",
                      .name = textName,
                      .parent = &page,
                      .bounds = {kMargin, 20, kTextWidth, 40},
                      .text = std::move(text)});
    info.SetWordWrap(true);
    return page;
}

ui::Component& TSetupWizardForm::AddField(ui::Component& panel, int top, const char* labelName,
                                          std::u16string caption, const char* editName, int tag,
                                          Example example) {
    auto& label = Add({.className = "TTntLabel",
                       .name = labelName,
                       .parent = &panel,
                       .bounds = {kMargin, top, kFieldWidth, 13},
                       .text = std::move(caption)});
    auto& edit = Add({.className = "TTntEdit",
                      .name = editName,
                      .parent = &panel,
                      .bounds = {kMargin, top + 16, kFieldWidth, 21}});
    edit.SetTag(tag);
    label.SetFocusControl(&edit);
    if (example.name != nullptr) {
        Add({.className = "TTntLabel",
             .name = example.name,
             .parent = &panel,
             .bounds = {kMargin, top + 42, kFieldWidth, 13},
             .text = std::move(example.text)});
    }
    return edit;
}

bool TSetupWizardForm::ShowWizard() {
    return ShowModal() == ui::ModalResult::kOk;
}

WizardEntries TSetupWizardForm::Entries() const {
    return {NameEdit->Text(), OtherEdit->Text(), EmailEdit->Text(), PassEdit->Text()};
}

void TSetupWizardForm::FormShow(ui::Form&) {
    page_ = kHostNamePage;
    NameEdit->SetText({});
    EmailEdit->SetText({});
    PassEdit->SetText({});
    ShowPage();
}

void TSetupWizardForm::FormKeyPress(ui::Form&, char16_t& key) {
    if (key == kEscape) {
        key = 0;
        SetModalResult(ui::ModalResult::kCancel);
    }
}

void TSetupWizardForm::NextButtonClick(ui::Component&) {
    if (page_ != kFinished) {
        ++page_;
        ShowPage();
    }
}

void TSetupWizardForm::PreviousButtonClick(ui::Component&) {
    if (page_ != kHostNamePage) {
        --page_;
        ShowPage();
    }
}

void TSetupWizardForm::EditChange(ui::Component& sender) {
    switch (sender.Tag()) {
        case kHostNameTag:
            NextButton->SetEnabled(!NameEdit->Text().empty());
            break;
        case kUserTag:
            NextButton->SetEnabled(!EmailEdit->Text().empty());
            break;
        case kDomainTag:
            NextButton->SetEnabled(!OtherEdit->Text().empty());
            break;
        default:
            break;
    }
}

// Each page shows its panel in front and hides the neighbours it is reached from.
void TSetupWizardForm::ShowPage() {
    switch (page_) {
        case kHostNamePage:
            NamePanel->SetVisible(true);
            EmailPanel->SetVisible(false);
            NamePanel->BringToFront();
            EditChange(*NameEdit);
            TopMenuLabel->SetText(Text(i18n::WHostName));
            SetFocus(*NameEdit);
            PreviousButton->SetEnabled(false);
            break;
        case kDomainPage:
            OtherPanel->SetVisible(true);
            NamePanel->SetVisible(false);
            EmailPanel->SetVisible(false);
            OtherPanel->BringToFront();
            EditChange(*OtherEdit);
            SetFocus(*OtherEdit);
            TopMenuLabel->SetText(Text(i18n::WPrimaryDomain));
            PreviousButton->SetEnabled(true);
            break;
        case kAdministratorPage:
            EmailPanel->SetVisible(true);
            OtherPanel->SetVisible(false);
            FinishPanel->SetVisible(false);
            EmailPanel->BringToFront();
            EditChange(*EmailEdit);
            TopMenuLabel->SetText(Text(i18n::WAdministrator));
            SetFocus(*EmailEdit);
            PreviousButton->SetEnabled(true);
            break;
        case kCompletePage:
            FinishPanel->SetVisible(true);
            EmailPanel->SetVisible(false);
            FinishPanel->BringToFront();
            NextButton->SetText(Text(i18n::cFinish));
            PreviousButton->SetVisible(false);
            TopMenuLabel->SetText(Text(i18n::WWizardComplete));
            SetFocus(*NextButton);
            break;
        default:
            SetModalResult(ui::ModalResult::kOk);
            break;
    }
}

}  // namespace tolva::provisioning

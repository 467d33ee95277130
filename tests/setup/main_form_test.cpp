// The main window in the headless display: the pages and their buttons, navigation, user-details
// validation, the component tree, the database dialog of the advanced mode, the cancel paths, the
// Installing page and the finish actions.

#include "setup/main_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "deployment_doubles.h"
#include "platform/fake/fake_platform.h"
#include "setup/component_tree.h"
#include "setup/country_list.h"
#include "setup/package_table.h"
#include "ui/application.h"
#include "ui/headless_display.h"
#include "ui/visibility.h"
#include "util/utf8.h"
#include "wizard_user.h"

namespace tolva::setup {
namespace {

using test::Events;
using ui::Key;
namespace key = component_key;

// The shell's "open" calls, recorded.
class RecordingShell : public platform::Shell {
public:
    explicit RecordingShell(Events& events) : events_(events) {}
    std::string FolderPath(platform::SpecialFolder) const override { return {}; }
    platform::Status CreateLink(const platform::ShellLink&) override {
        return platform::Status::Ok();
    }
    platform::Status ReadLink(std::string_view, platform::ShellLink&) const override {
        return platform::Status::Ok();
    }
    platform::Status Open(std::string_view target, std::string_view,
                          platform::ShowCommand) override {
        events_.push_back("open " + std::string(target));
        return platform::Status::Ok();
    }
    platform::Status ShowNetworkConnectionDialog() override { return platform::Status::Ok(); }
    platform::Status ConnectNetworkShare(std::string_view, std::string_view,
                                         std::string_view) override {
        return platform::Status::Ok();
    }

private:
    Events& events_;
};

// The other parts of the installer the pages call, recorded; each answers what the test set.
class RecordingLinks : public FolderBrowser,
                       public DatabaseDialog,
                       public InstallRunner,
                       public FinishSteps {
public:
    explicit RecordingLinks(Events& events) : events_(events) {}

    bool Browse(std::string& folder) override {
        events_.push_back("browse " + folder);
        if (!browsed) {
            return false;
        }
        folder = *browsed;
        return true;
    }
    std::optional<std::string> EditConnection(const std::string& connection) override {
        events_.push_back("database dialog \"" + connection + "\"");
        return confirmed;
    }
    void RunInstallSequence() override {
        events_.push_back("install sequence");
        if (sequence) {
            sequence();
        }
    }
    void SwitchToDatabaseStorage(const std::string& connection) override {
        events_.push_back("switch to database " + connection);
    }
    void RunPostInstallWizard() override { events_.push_back("post-install wizard"); }
    void NotifyControlService() override { events_.push_back("notify control service"); }

    WizardLinks Links() { return {this, this, this, this}; }

    std::optional<std::string> browsed;
    std::optional<std::string> confirmed;
    std::function<void()> sequence;

private:
    Events& events_;
};

platform::Platform WithShell(platform::Platform services, platform::Shell& shell) {
    services.shell = &shell;
    return services;
}

struct Wizard {
    Wizard() {
        form.State.SetupFolder = "C:\\dist\\";
        form.State.InstallDir = "C:\\Program Files\\Tolva\\";
        form.Show();
    }

    void Next() { test::ClickNext(display, form); }
    void Back() { ASSERT_TRUE(display.Click(form, "BackButton")) << test::OnPage(form); }
    // From the welcome page to the page, entering what each page needs.
    void GoTo(int page) { test::GoToPage(display, form, page); }
    int State(int32_t component) const { return ComponentState(*form.ComponentsList, component); }
    ui::ActionResult ClickComponent(int32_t component, int x = 60) {
        return test::ClickComponent(display, form, component, x);
    }

    Events events;
    platform::FakePlatform fake;
    RecordingShell shell{events};
    platform::Platform services = WithShell(fake.Services(), shell);
    ui::HeadlessDisplay display;
    ui::Application application{display, &fake.System()};
    test::RecordingLog log;
    test::RecordingEnd end{events};
    RecordingLinks links{events};
    TMainForm form{application, services, log, end, links.Links()};
};

// What the user sees of the frame on one page.
struct PageView {
    int page;
    std::string panel;
    std::u16string caption;  // empty: the header strip is hidden
    std::string back;        // "hidden", "on" or "off"
    std::u16string next;
    bool nextEnabled;
    std::u16string cancel;
};

PageView See(const TMainForm& form) {
    std::string panel;
    for (const ui::Component* page :
         {form.WelcomePanel, form.LicensePanel, form.CredentialsPanel, form.SetupTypePanel,
          form.SetupComponents, form.InstallPanel, form.InstallingPanel, form.FinishedPanel}) {
        if (ui::IsSeen(*page)) {
            panel += (panel.empty() ? "" : "+") + page->Name();
        }
    }
    const bool header = ui::IsSeen(*form.PageCaptionLabel) && ui::IsSeen(*form.CorvaneSetupLabel) &&
                        ui::IsSeen(*form.LogoImage);
    return {form.State.PageIndex,
            panel,
            header ? form.PageCaptionLabel->Text() : u"",
            !form.BackButton->Visible()  ? "hidden"
            : form.BackButton->Enabled() ? "on"
                                         : "off",
            form.NextButton->Text(),
            form.NextButton->Enabled(),
            form.CloseButton->Text()};
}

std::string Describe(const PageView& view) {
    return std::to_string(view.page) + " " + view.panel + " \"" + util::WideToUTF8(view.caption) +
           "\" back " + view.back + " next \"" + util::WideToUTF8(view.next) + "\" " +
           (view.nextEnabled ? "on" : "off") + " cancel \"" + util::WideToUTF8(view.cancel) + "\"";
}

// Pages 0 to 5 as they are entered with Next (inputs filled only after the check) and with Back.
const PageView kForward[] = {
    {0, "WelcomePanel", u"", "hidden", u"&Next >", true, u"&Cancel"},
    {1, "LicensePanel", u"Software License Agreement", "on", u"&Yes", false, u"&No"},
    {2, "CredentialsPanel", u"User/Company Details", "on", u"&Next >", false, u"&Cancel"},
    {3, "SetupTypePanel", u"Setup Type", "on", u"&Next >", true, u"&Cancel"},
    {4, "SetupComponents", u"Components To Install", "on", u"&Next >", true, u"&Cancel"},
    {5, "InstallPanel", u"Start The Installation Process", "on", u"&Install", true, u"&Cancel"},
};
const PageView kBackward[] = {
    {4, "SetupComponents", u"Components To Install", "on", u"&Next >", true, u"&Cancel"},
    {3, "SetupTypePanel", u"Setup Type", "on", u"&Next >", true, u"&Cancel"},
    {2, "CredentialsPanel", u"User/Company Details", "on", u"&Next >", true, u"&Cancel"},
    {1, "LicensePanel", u"Software License Agreement", "on", u"&Yes", true, u"&No"},
    {0, "WelcomePanel", u"", "hidden", u"&Next >", true, u"&Cancel"},
};

TEST(MainForm, PagesForwardAndBackShowTheirCaptionsAndButtons) {
    Wizard wizard;
    EXPECT_EQ(wizard.form.ClientWidth(), 495);
    EXPECT_EQ(wizard.form.ClientHeight(), 341);
    for (const PageView& expected : kForward) {
        EXPECT_EQ(Describe(See(wizard.form)), Describe(expected));
        wizard.GoTo(expected.page + 1);
    }
    wizard.form.State.PageIndex = 5;
    wizard.form.SetupPage();
    for (const PageView& expected : kBackward) {
        wizard.Back();
        EXPECT_EQ(Describe(See(wizard.form)), Describe(expected));
    }
    EXPECT_EQ(wizard.form.ActiveControl(), wizard.form.NextButton);
    EXPECT_TRUE(wizard.display.Problems().empty());
}

// A language file that translates the button captions of the string table but has no form entry
// for the buttons: every page set-up shows them in that language, Back with Next and Cancel.
TEST(MainForm, ButtonCaptionsComeFromTheStringTable) {
    Wizard wizard;
    // Loaded once the window exists, as the start-up does.
    i18n::TUIStrings& strings = i18n::UIStrings();
    const i18n::TUIStrings english = strings;
    strings[i18n::cBack] = u"< &Zur\u00FCck";
    strings[i18n::cNext] = u"&Weiter >";
    strings[i18n::cCancel] = u"&Abbrechen";
    wizard.GoTo(TMainForm::kCredentialsPage);
    const std::u16string shown[] = {wizard.form.BackButton->Text(), wizard.form.NextButton->Text(),
                                    wizard.form.CloseButton->Text()};
    strings = english;
    EXPECT_EQ(shown[0], u"< &Zur\u00FCck");
    EXPECT_EQ(shown[1], u"&Weiter >");
    EXPECT_EQ(shown[2], u"&Abbrechen");
}

TEST(MainForm, PageSetUpMovesTheFocusAndShowsTheFolder) {
    Wizard wizard;
    wizard.GoTo(TMainForm::kLicensePage);
    EXPECT_EQ(wizard.form.ActiveControl(), wizard.form.LicenseMemo);
    ASSERT_TRUE(wizard.display.Tick(wizard.form, "LicenseAgree", true));
    EXPECT_TRUE(wizard.form.NextButton->Enabled());
    ASSERT_TRUE(wizard.display.Tick(wizard.form, "LicenseAgree", false));
    EXPECT_FALSE(wizard.form.NextButton->Enabled());
    ASSERT_TRUE(wizard.display.Tick(wizard.form, "LicenseAgree", true));
    wizard.Next();
    EXPECT_EQ(wizard.form.ActiveControl(), wizard.form.NameEdit);
    wizard.GoTo(TMainForm::kInstallFolderPage);
    EXPECT_EQ(wizard.form.PathEdit->Text(), u"C:\\Program Files\\Tolva\\");
}

TEST(MainForm, UserDetailsEnableNextOnlyWithANameAndAPlausibleAddress) {
    struct Case {
        std::u16string name;
        std::u16string email;
        bool enabled;
    };
    const Case cases[] = {
        {u"Ann", u"a@b.c", true},
        {u"Ann", u"a@.c", true},  // a dot right after the at sign
        {u"Ann", u"ann@mail.example.com", true},
        {u"  Ann ", u"a@b.c", true},
        {u"Ann", u"@b.c", false},
        {u"Ann", u"a@b.", false},
        {u"Ann", u"a.b@c", false},  // the last dot before the at sign
        {u"Ann", u"ab.c", false},
        {u"Ann", u"a@", false},
        {u"Ann", u"", false},
        {u"   ", u"a@b.c", false},
        {u"", u"a@b.c", false},
    };
    for (const Case& c : cases) {
        Wizard wizard;
        wizard.GoTo(TMainForm::kCredentialsPage);
        ASSERT_TRUE(wizard.display.Type(wizard.form, "EmailEdit", c.email));
        ASSERT_TRUE(wizard.display.Type(wizard.form, "NameEdit", c.name));
        EXPECT_EQ(wizard.form.NextButton->Enabled(), c.enabled)
            << "name \"" << util::WideToUTF8(c.name) << "\" e-mail \"" << util::WideToUTF8(c.email)
            << "\"";
    }
}

TEST(MainForm, CountryListHoldsTheNamesInOrderAndNoneIsChosen) {
    Wizard wizard;
    const auto& items = wizard.form.CountryEdit->Items();
    ASSERT_EQ(items.size(), 247u);
    EXPECT_EQ(items.front().text, u"Afghanistan");
    EXPECT_EQ(items[50].text, u"Congo, Republic of");
    EXPECT_EQ(items[116].text, u"Korea, South");
    EXPECT_EQ(items.back().text, u"Other");
    EXPECT_EQ(wizard.form.CountryEdit->ItemIndex(), -1);
    EXPECT_EQ(wizard.form.CountryEdit->GetComboStyle(), ui::ComboStyle::kDropDownList);

    wizard.form.SetUserDetails(u"Ann", u"a@b.c", u"Example", u"Korea, North");
    EXPECT_EQ(wizard.form.CountryEdit->ItemIndex(), 115);
    // The country found in the registry is the one the installation records again.
    EXPECT_EQ(wizard.form.UserDetails().country, u"Korea, North");
    wizard.form.SetUserDetails(u"Ann", u"a@b.c", u"Example", u"Atlantis");
    EXPECT_EQ(wizard.form.CountryEdit->ItemIndex(), 115);
}

TEST(MainForm, GroupHeadingTogglesItsChildrenAndAChildMakesItPartlySelected) {
    Wizard wizard;
    wizard.GoTo(TMainForm::kComponentsPage);
    const int32_t modules[] = {key::kWebmail,   key::kAntiSpam,         key::kAntiVirus,
                               key::kGroupWare, key::kInstantMessaging, key::kLdap};
    // A node is toggled only once it is current: the first click makes it current.
    ASSERT_TRUE(wizard.ClickComponent(key::kModulesGroup));
    EXPECT_EQ(wizard.State(key::kModulesGroup), kSelected);
    ASSERT_TRUE(wizard.ClickComponent(key::kModulesGroup));
    EXPECT_EQ(wizard.State(key::kModulesGroup), kNotSelected);
    for (int32_t module : modules) {
        EXPECT_EQ(wizard.State(module), kNotSelected) << module;
    }
    ASSERT_TRUE(wizard.ClickComponent(key::kLdap));
    ASSERT_TRUE(wizard.ClickComponent(key::kLdap));
    EXPECT_EQ(wizard.State(key::kLdap), kSelected);
    EXPECT_EQ(wizard.State(key::kModulesGroup), kPartlySelected);
    // A partly selected group is deselected as a whole.
    ASSERT_TRUE(wizard.ClickComponent(key::kModulesGroup));
    ASSERT_TRUE(wizard.ClickComponent(key::kModulesGroup));
    EXPECT_EQ(wizard.State(key::kModulesGroup), kNotSelected);
    EXPECT_EQ(wizard.State(key::kLdap), kNotSelected);
    EXPECT_EQ(wizard.State(key::kServicesAndCoreFiles), kSelected);
}

TEST(MainForm, TreeClickNearTheLeftEdgeAndFixedNodesStayAsTheyAre) {
    Wizard wizard;
    wizard.GoTo(TMainForm::kComponentsPage);
    // The services node is current when the page is entered.
    ASSERT_TRUE(wizard.ClickComponent(key::kServicesAndCoreFiles, TMainForm::kTreeClickMinX - 1));
    EXPECT_EQ(wizard.State(key::kServicesAndCoreFiles), kSelected);
    ASSERT_TRUE(wizard.ClickComponent(key::kServicesAndCoreFiles, TMainForm::kTreeClickMinX));
    EXPECT_EQ(wizard.State(key::kServicesAndCoreFiles), kNotSelected);

    wizard.form.SetComponentState(key::kServicesAndCoreFiles, kFixed);
    ASSERT_TRUE(wizard.ClickComponent(key::kServicesAndCoreFiles));
    EXPECT_EQ(wizard.State(key::kServicesAndCoreFiles), kFixed);
}

TEST(MainForm, SpaceTogglesTheCurrentNodeAndIsSwallowed) {
    Wizard wizard;
    wizard.GoTo(TMainForm::kComponentsPage);
    ASSERT_TRUE(wizard.display.Focus(wizard.form, "ComponentsList"));
    ASSERT_TRUE(wizard.display.Press(wizard.form, Key::kDown));  // Administration
    ASSERT_TRUE(wizard.display.Press(wizard.form, Key::kDown));  // Administration interface
    ASSERT_TRUE(wizard.display.Press(wizard.form, Key::kSpace));
    EXPECT_EQ(wizard.State(key::kAdministrationInterface), kNotSelected);
    EXPECT_EQ(wizard.State(key::kAdministrationGroup), kPartlySelected);
    ASSERT_TRUE(wizard.display.Press(wizard.form, Key::kSpace));
    EXPECT_EQ(wizard.State(key::kAdministrationInterface), kSelected);
    EXPECT_EQ(wizard.State(key::kAdministrationGroup), kSelected);
    EXPECT_EQ(wizard.form.ComponentsList->SelectedNode(),
              wizard.form.ComponentsList->FindNodeByData(key::kAdministrationInterface));
}

TEST(MainForm, ComponentChoiceIsStoredAndPreselectedAgain) {
    Wizard wizard;
    wizard.form.State.NoInstallIM = true;
    wizard.form.SetComponentState(key::kDesktopIcon, kNotSelected);
    wizard.GoTo(TMainForm::kComponentsPage);
    EXPECT_EQ(wizard.State(key::kInstantMessaging), kNotSelected);
    EXPECT_EQ(wizard.State(key::kModulesGroup), kPartlySelected);
    EXPECT_EQ(wizard.State(key::kAdministrationGroup), kPartlySelected);

    ASSERT_TRUE(wizard.ClickComponent(key::kAntiSpam));
    ASSERT_TRUE(wizard.ClickComponent(key::kAntiSpam));
    wizard.Next();
    EXPECT_TRUE(wizard.form.State.NoInstallIAS);
    EXPECT_TRUE(wizard.form.State.NoInstallIM);
    EXPECT_FALSE(wizard.form.State.NoInstallMail);
    wizard.Back();
    EXPECT_EQ(wizard.State(key::kAntiSpam), kNotSelected);
    EXPECT_FALSE(wizard.form.IsComponentSelected(key::kAntiSpam));
    EXPECT_TRUE(wizard.form.IsComponentSelected(key::kWebmail));
}

TEST(MainForm, AdvancedModeAsksForTheDatabaseConnection) {
    Wizard wizard;
    wizard.form.State.DatabaseConnectionString = "old";
    wizard.GoTo(TMainForm::kSetupTypePage);
    ASSERT_TRUE(wizard.display.Click(wizard.form, "SetupModeAdvanced"));
    wizard.Next();
    EXPECT_EQ(Describe(See(wizard.form)), Describe(kForward[TMainForm::kSetupTypePage]));
    EXPECT_EQ(wizard.form.State.DatabaseConnectionString, "old");

    wizard.links.confirmed = "tolva;sa;;db;1;0";
    wizard.Next();
    EXPECT_EQ(wizard.form.State.PageIndex, TMainForm::kComponentsPage);
    EXPECT_EQ(wizard.form.State.DatabaseConnectionString, "tolva;sa;;db;1;0");
    // Back and forth again does not ask a second time without Advanced.
    wizard.Back();
    ASSERT_TRUE(wizard.display.Click(wizard.form, "SetupModeBasic"));
    wizard.Next();
    EXPECT_EQ(wizard.events, (Events{"database dialog \"old\"", "database dialog \"old\""}));
}

TEST(MainForm, HiddenInstallationModeNeverAsksForTheDatabase) {
    Wizard wizard;
    wizard.GoTo(TMainForm::kSetupTypePage);
    wizard.form.SetupModeAdvanced->SetChecked(true);
    wizard.form.HideInstallationMode();
    wizard.Next();
    EXPECT_EQ(wizard.form.State.PageIndex, TMainForm::kComponentsPage);
    EXPECT_TRUE(wizard.events.empty());
}

// Cancel, Esc and the close box on each page the user can reach: No leaves everything as it was,
// Yes logs the cancellation and ends the process with 0.
TEST(MainForm, CancelAsksOnEveryPage) {
    using Action = std::function<ui::ActionResult(Wizard&)>;
    const std::pair<const char*, Action> ways[] = {
        {"cancel", [](Wizard& w) { return w.display.Click(w.form, "CloseButton"); }},
        {"esc", [](Wizard& w) { return w.display.Press(w.form, Key::kEscape); }},
        {"close box", [](Wizard& w) { return w.display.CloseBox(w.form); }},
    };
    for (int page = TMainForm::kWelcomePage; page <= TMainForm::kInstallFolderPage; ++page) {
        for (const auto& [way, act] : ways) {
            SCOPED_TRACE(std::string(way) + " on page " + std::to_string(page));
            Wizard wizard;
            wizard.GoTo(page);
            const std::string before = Describe(See(wizard.form));
            wizard.fake.Dialogs().QueueAnswer(platform::DialogResult::kNo);
            ASSERT_TRUE(act(wizard));
            EXPECT_EQ(Describe(See(wizard.form)), before);
            EXPECT_TRUE(wizard.events.empty());
            EXPECT_TRUE(wizard.log.lines.empty());

            wizard.fake.Dialogs().QueueAnswer(platform::DialogResult::kYes);
            ASSERT_TRUE(act(wizard));
            EXPECT_EQ(wizard.events, (Events{"end 0"}));
            EXPECT_EQ(wizard.log.lines, (std::vector<std::string>{"Setup cancelled\r\n"}));

            const auto& shown = wizard.fake.Dialogs().Shown();
            ASSERT_EQ(shown.size(), 2u);
            EXPECT_EQ(shown[0].text, u"Do you wish to cancel this installation?");
            EXPECT_EQ(shown[0].caption, u"Exit Setup");
            EXPECT_EQ(shown[0].buttons, platform::DialogButtons::kYesNo);
            EXPECT_EQ(shown[0].icon, platform::DialogIcon::kQuestion);
            EXPECT_TRUE(shown[0].taskModal);
        }
    }
}

TEST(MainForm, InstallRunsTheSequenceBusyAndMovesToFinished) {
    Wizard wizard;
    wizard.GoTo(TMainForm::kInstallFolderPage);
    std::string during;
    wizard.links.sequence = [&] {
        during = Describe(See(wizard.form)) + (wizard.display.Busy() ? " busy" : "");
        wizard.form.SetProgressText(u"Installing Files...");
        wizard.form.StepProgress();
        wizard.form.StepProgress();
    };
    wizard.Next();
    EXPECT_EQ(during,
              "6 InstallingPanel \"Installing Corvane Tolva Mail Server\" back off next "
              "\"&Install\" off cancel \"&Cancel\" busy");
    EXPECT_EQ(wizard.form.InstallPanelText->Text(), u"Installing Files...");
    EXPECT_EQ(wizard.form.ProgressBar->Position(), 2);
    EXPECT_EQ(wizard.form.ProgressBar->Max(), 12);
    EXPECT_GE(wizard.display.PendingMessageRuns(), 1);
    EXPECT_FALSE(wizard.display.Busy());
    EXPECT_EQ(Describe(See(wizard.form)),
              "7 FinishedPanel \"Setup Complete\" back hidden next \"&Finish\" on cancel "
              "\"&Cancel\"");
    EXPECT_EQ(wizard.form.ActiveControl(), wizard.form.NextButton);
    EXPECT_TRUE(wizard.form.RunTutorial->Checked());
    EXPECT_TRUE(wizard.form.RunTutorial->Enabled());
}

TEST(MainForm, AnUpgradeSkipsTheWizard) {
    Wizard wizard;
    wizard.GoTo(TMainForm::kInstallFolderPage);
    wizard.links.sequence = [&] { wizard.form.State.IsUpgrade = true; };
    wizard.Next();
    EXPECT_EQ(wizard.form.State.PageIndex, TMainForm::kFinishedPage);
    EXPECT_FALSE(wizard.form.RunTutorial->Checked());
    EXPECT_FALSE(wizard.form.RunTutorial->Enabled());
    EXPECT_FALSE(wizard.form.ShowTutorial->Checked());
}

// The window only records the Yes: the sequence writes the log line and ends with its own code.
TEST(MainForm, CancelDuringTheSequenceIsHandedToTheSequence) {
    Wizard wizard;
    wizard.GoTo(TMainForm::kInstallFolderPage);
    std::vector<bool> requested;
    wizard.links.sequence = [&] {
        requested.push_back(wizard.form.CancelRequested());
        wizard.display.QueuePending([&] { wizard.display.Press(wizard.form, Key::kEscape); });
        wizard.form.SetProgressText(u"Copying");
        requested.push_back(wizard.form.CancelRequested());
    };
    wizard.fake.Dialogs().QueueAnswer(platform::DialogResult::kYes);
    wizard.Next();
    EXPECT_EQ(requested, (std::vector<bool>{false, true}));
    EXPECT_EQ(wizard.events, (Events{"install sequence"}));
    EXPECT_TRUE(wizard.log.lines.empty());
}

TEST(MainForm, FinishRunsTheChosenActionsAndEnds) {
    struct Case {
        const char* name;
        bool advanced;
        bool runConfig;
        bool runTutorial;
        bool webmailNote;
        bool documents;
        Events expected;
    };
    const Case cases[] = {
        {"defaults",
         false,
         false,
         true,
         false,
         true,
         {"post-install wizard", "notify control service",
          "open C:\\Program Files\\Tolva\\doc\\quickstart.pdf", "end 0"}},
        {"everything",
         true,
         true,
         true,
         true,
         true,
         {"switch to database tolva;sa", "post-install wizard", "notify control service",
          "open C:\\Program Files\\Tolva\\doc\\quickstart.pdf",
          "open C:\\Program Files\\Tolva\\doc\\webmailguide.pdf",
          "open C:\\Program Files\\Tolva\\config.exe", "end 0"}},
        {"documents missing, wizard unticked",
         false,
         false,
         false,
         true,
         false,
         {"notify control service", "end 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Wizard wizard;
        if (c.documents) {
            auto& files = wizard.fake.Files();
            ASSERT_TRUE(files.CreateFolders("C:\\Program Files\\Tolva\\doc").ok());
            ASSERT_TRUE(
                files.WriteWholeFile("C:\\Program Files\\Tolva\\doc\\quickstart.pdf", "%PDF").ok());
            ASSERT_TRUE(
                files.WriteWholeFile("C:\\Program Files\\Tolva\\doc\\webmailguide.pdf", "%PDF")
                    .ok());
        }
        if (c.webmailNote) {
            wizard.form.ShowWebmailNote(u"http://mail.example:32000/webmail/");
        }
        wizard.links.confirmed = "tolva;sa";
        wizard.GoTo(TMainForm::kSetupTypePage);
        if (c.advanced) {
            ASSERT_TRUE(wizard.display.Click(wizard.form, "SetupModeAdvanced"));
        }
        wizard.GoTo(TMainForm::kFinishedPage);
        ASSERT_TRUE(wizard.display.Tick(wizard.form, "RunConfig", c.runConfig));
        ASSERT_TRUE(wizard.display.Tick(wizard.form, "RunTutorial", c.runTutorial));
        wizard.events.clear();
        wizard.Next();
        EXPECT_EQ(wizard.events, c.expected);
        EXPECT_EQ(Describe(See(wizard.form)),
                  "8 FinishedPanel \"Installation Wizard\" back on next \"&Finish\" off cancel "
                  "\"&Cancel\"");
    }
}

TEST(MainForm, HelpLinkAndBrowseReachTheShellAndTheFolderBrowser) {
    Wizard wizard;
    ASSERT_TRUE(wizard.display.Click(wizard.form, "HelpButton"));
    wizard.form.ShowWebmailNote(u"http://localhost:32000/webmail/");
    wizard.GoTo(TMainForm::kInstallFolderPage);
    ASSERT_TRUE(wizard.display.Click(wizard.form, "BrowseButton"));
    EXPECT_EQ(wizard.form.State.InstallDir, "C:\\Program Files\\Tolva\\");
    wizard.links.browsed = "D:\\Mail";
    ASSERT_TRUE(wizard.display.Click(wizard.form, "BrowseButton"));
    EXPECT_EQ(wizard.form.State.InstallDir, "D:\\Mail");
    EXPECT_EQ(wizard.form.PathEdit->Text(), u"D:\\Mail");
    wizard.form.WMURLLabelClick(*wizard.form.WMURLLabel);
    EXPECT_EQ(
        wizard.events,
        (Events{"open C:\\dist\\installguide.pdf", "browse C:\\Program Files\\Tolva\\",
                "browse C:\\Program Files\\Tolva\\", "open http://localhost:32000/webmail/"}));
}

TEST(MainForm, StartUpViewFillsThePages) {
    Wizard wizard;
    wizard.form.FillWelcomeVersion(u"9.1.0");
    EXPECT_EQ(wizard.form.AboutLabel->Text(),
              u"Welcome to the Corvane Mail Server 9.1.0 Setup Wizard");
    wizard.form.SetSetupTypeHeading(u"Upgrade Setup.");
    wizard.form.SetAgreementText(u"Terms\r\nMore terms");
    wizard.form.SetUserDetails(u"Ann", u"ann@example.com", u"Example", u"Norway");
    wizard.GoTo(TMainForm::kLicensePage);
    EXPECT_EQ(wizard.form.LicenseMemo->Text(), u"Terms\r\nMore terms");
    EXPECT_TRUE(wizard.form.LicenseMemo->ReadOnly());
    ASSERT_TRUE(wizard.display.Tick(wizard.form, "LicenseAgree", true));
    wizard.Next();
    EXPECT_TRUE(wizard.form.NextButton->Enabled());
    wizard.Next();
    EXPECT_EQ(wizard.form.SetupTypeLabel->Text(), u"Upgrade Setup.");
}

}  // namespace
}  // namespace tolva::setup

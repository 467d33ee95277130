// The start-up over the main window: it runs before the window is shown, and what it found shows on
// the pages.

#include "setup/main_form_startup.h"

#include <gtest/gtest.h>

#include <string>

#include "deployment_doubles.h"
#include "i18n/lang_select_form.h"
#include "platform/fake/fake_platform.h"
#include "setup/component_tree.h"
#include "setup/package_table.h"
#include "ui/headless_display.h"
#include "ui/visibility.h"

namespace tolva::setup {
namespace {

constexpr platform::RegistryRoot kMachine = platform::RegistryRoot::kLocalMachine;
constexpr char kProductKey[] = "Software\\Corvane\\Tolva Mail Server";

TEST(MainFormStartup, RunsBeforeTheWindowIsShownAndSetsUpThePages) {
    test::Events events;
    platform::FakePlatform fake;
    ui::HeadlessDisplay display;
    ui::Application application{display, &fake.System()};
    test::RecordingLog log;
    test::RecordingEnd end{events};
    test::RecordingAbort abort{events};
    TMainForm form{application, fake.Services(), log, end};
    i18n::TLangSelectForm languageDialog(application);
    stores::SettingsStore settings(fake.Services());
    form.State.SetupFolder = "C:\\dist\\";
    ASSERT_TRUE(fake.Files().CreateFolders("C:\\dist\\lang\\").ok());
    // A second language, so that the language dialog is shown.
    ASSERT_TRUE(fake.Files()
                    .WriteWholeFile("C:\\dist\\lang\\de.lng",
                                    "<?lang caption='Deutsch'?>\r\n<APPLICATION/>")
                    .ok());
    ASSERT_TRUE(fake.Files().CreateFolders("D:\\Mail\\config\\").ok());
    platform::FakeRegistry& registry = fake.Registry();
    for (auto [name, value] : {std::pair{"InstallDir", "D:\\Mail\\"},
                               {"Version", "9.0.5"},
                               {"Name", "Ann"},
                               {"Country", "Austria"}}) {
        ASSERT_TRUE(registry.WriteString(kMachine, kProductKey, name, value).ok());
    }
    std::u16string applicationTitle;
    winsys::TAdvancedRegistry pathRegistry(registry, kMachine);
    MainFormStartup startup({application,
                             fake.Services(),
                             form,
                             languageDialog,
                             settings,
                             pathRegistry,
                             nullptr,
                             end,
                             abort,
                             {},
                             [&](const std::u16string& title) { applicationTitle = title; }});
    bool shownBehindTheLanguageDialog = true;
    display.ScriptModal("TLangSelectForm", [&](ui::Form& dialog) {
        shownBehindTheLanguageDialog = form.Showing();
        EXPECT_TRUE(display.Click(dialog, "OKButton"));
    });

    ASSERT_EQ(startup.RunStartup(), StartupOutcome::kWizard);

    EXPECT_FALSE(shownBehindTheLanguageDialog);
    EXPECT_FALSE(form.Showing()) << "the program entry shows the window";
    EXPECT_EQ(fake.Dialogs().Shown().size(), 1u);  // the start question, answered Yes
    EXPECT_TRUE(events.empty());                   // the run goes on
    EXPECT_EQ(form.Caption(), u"Corvane Tolva Mail Server 9.1.0 Setup");
    EXPECT_EQ(applicationTitle, form.Caption());
    EXPECT_EQ(form.State.InstallDir, "D:\\Mail\\");
    EXPECT_EQ(form.SetupTypeLabel->Text(), u"Upgrade Setup.");
    EXPECT_FALSE(form.NewSetupMode->Visible());
    EXPECT_EQ(ComponentState(*form.ComponentsList, component_key::kDesktopIcon), kNotSelected);
    EXPECT_EQ(ComponentState(*form.ComponentsList, component_key::kQuickLaunchIcon), kNotSelected);
    EXPECT_EQ(form.NameEdit->Text(), u"Ann");
    ASSERT_GE(form.CountryEdit->ItemIndex(), 0);
    EXPECT_EQ(form.CountryEdit->Items()[static_cast<size_t>(form.CountryEdit->ItemIndex())].text,
              u"Austria");
    EXPECT_EQ(form.AboutLabel->Text(), u"Welcome to the Corvane Mail Server 9.1.0 Setup Wizard");
    EXPECT_EQ(form.State.PageIndex, TMainForm::kWelcomePage);
    EXPECT_FALSE(form.BackButton->Visible());

    form.Show();
    EXPECT_TRUE(ui::IsSeen(*form.WelcomePanel));
    EXPECT_EQ(form.ActiveControl(), form.NextButton);
}

}  // namespace
}  // namespace tolva::setup

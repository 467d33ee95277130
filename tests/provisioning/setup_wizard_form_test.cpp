#include "provisioning/setup_wizard_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/fake/fake_automation.h"
#include "platform/fake/fake_system.h"
#include "provisioning/server_provisioning.h"
#include "support/server_automation.h"
#include "ui/application.h"
#include "ui/form_snapshot.h"
#include "ui/headless_display.h"
#include "ui/visibility.h"
#include "util/utf8.h"

namespace tolva::provisioning {
namespace {

using ui::Key;

// The wizard in a headless display, finishing into the server's objects in memory.
struct WizardRun {
    WizardRun() {
        for (auto& definition : tolva::testing::ServerAutomationClasses()) {
            automation.DefineClass(definition);
        }
    }

    platform::FakeSystem system;
    ui::HeadlessDisplay display;
    ui::Application application{display, &system};
    TSetupWizardForm wizard{application};
    platform::FakeAutomation automation;
    ServerProvisioning provisioning{wizard, automation, system};
};

// The wizard as the user sees it at one moment: the header, the page in front, the buttons.
struct Seen {
    std::u16string header;
    std::string page;
    bool backVisible;
    bool backEnabled;
    bool nextEnabled;
    std::u16string next;
    std::string focused;
};

Seen See(const TSetupWizardForm& wizard) {
    std::string page;
    for (const ui::Component* panel :
         {wizard.NamePanel, wizard.OtherPanel, wizard.EmailPanel, wizard.FinishPanel}) {
        if (ui::IsSeen(*panel)) {
            page += (page.empty() ? "" : "+") + panel->Name();
        }
    }
    return {wizard.TopMenuLabel->Text(),
            page,
            wizard.PreviousButton->Visible(),
            wizard.PreviousButton->Enabled(),
            wizard.NextButton->Enabled(),
            wizard.NextButton->Text(),
            wizard.ActiveControl() ? wizard.ActiveControl()->Name() : ""};
}

std::string Describe(const Seen& seen) {
    return util::WideToUTF8(seen.header) + " | " + seen.page + " | back " +
           (seen.backVisible ? (seen.backEnabled ? "on" : "off") : "hidden") + " | next \"" +
           util::WideToUTF8(seen.next) + "\" " + (seen.nextEnabled ? "on" : "off") + " | focus " +
           seen.focused;
}

TEST(SetupWizardForm, FirstPageAsShown) {
    WizardRun run;
    std::u16string shown;
    run.display.ScriptModal("TSetupWizardForm", [&](ui::Form& form) {
        shown = ui::DescribeForm(form);
        EXPECT_TRUE(run.display.Click(form, "CancelButton"));
    });
    EXPECT_FALSE(run.wizard.ShowWizard());
    EXPECT_EQ(util::WideToUTF8(shown),
              "form TSetupWizardForm \"Wizard\"\n"
              "label TopMenuLabel \"Host Name\"\n"
              "label NameInfoLabel \"Enter the hostname of the mail server computer. It must not "
              "be blank. \"\n"
              "label NameLabel \"Hostname:\"\n"
              "edit NameEdit \"\" focused\n"
              "label NameExampleLabel \"For example: mail.example.com\"\n"
              "button PreviousButton \"< Back\" disabled\n"
              "button NextButton \"Next >\" default disabled\n"
              "button CancelButton \"Cancel\"\n");
}

// A walk through the pages as a user makes it, and what the wizard shows after each step.
TEST(SetupWizardForm, PagesFollowTheUsersSteps) {
    using Step = std::function<ui::ActionResult(ui::HeadlessDisplay&, ui::Form&)>;
    auto type = [](const char* edit, std::u16string text) -> Step {
        return [=](auto& display, auto& form) { return display.Type(form, edit, text); };
    };
    auto click = [](const char* button) -> Step {
        return [=](auto& display, auto& form) { return display.Click(form, button); };
    };
    auto erase = [](const char* edit, int characters) -> Step {
        return [=](auto& display, auto& form) {
            auto done = display.Focus(form, edit);
            for (int i = 0; done && i < characters; ++i) {
                done = display.Press(form, Key::kBackspace);
            }
            return done;
        };
    };
    const struct {
        const char* step;
        Step action;
        std::string seen;
    } steps[] = {
        {"a host name enables Next", type("NameEdit", u"m"),
         "Host Name | NamePanel | back off | next \"Next >\" on | focus NameEdit"},
        {"erasing it disables Next again", erase("NameEdit", 1),
         "Host Name | NamePanel | back off | next \"Next >\" off | focus NameEdit"},
        {"", type("NameEdit", u"mail.example.com"),
         "Host Name | NamePanel | back off | next \"Next >\" on | focus NameEdit"},
        {"the domain page with an empty domain", click("NextButton"),
         "Primary Domain | OtherPanel | back on | next \"Next >\" off | focus OtherEdit"},
        {"back to the host name, kept", click("PreviousButton"),
         "Host Name | NamePanel | back off | next \"Next >\" on | focus NameEdit"},
        {"Enter presses Next",
         [](auto& display, auto& form) { return display.Press(form, Key::kEnter); },
         "Primary Domain | OtherPanel | back on | next \"Next >\" off | focus OtherEdit"},
        {"", type("OtherEdit", u"example.com"),
         "Primary Domain | OtherPanel | back on | next \"Next >\" on | focus OtherEdit"},
        {"the administrator page with an empty user", click("NextButton"),
         "Administrator | EmailPanel | back on | next \"Next >\" off | focus EmailEdit"},
        {"a password alone does not enable Next", type("PassEdit", u"pw"),
         "Administrator | EmailPanel | back on | next \"Next >\" off | focus PassEdit"},
        {"a user name does", type("EmailEdit", u"admin"),
         "Administrator | EmailPanel | back on | next \"Next >\" on | focus EmailEdit"},
        {"an empty password keeps it enabled", erase("PassEdit", 2),
         "Administrator | EmailPanel | back on | next \"Next >\" on | focus PassEdit"},
        {"back to the domain", click("PreviousButton"),
         "Primary Domain | OtherPanel | back on | next \"Next >\" on | focus OtherEdit"},
        {"", click("NextButton"),
         "Administrator | EmailPanel | back on | next \"Next >\" on | focus EmailEdit"},
        {"the closing page", click("NextButton"),
         "Wizard Complete | FinishPanel | back hidden | next \"&Finish\" on | focus NextButton"},
    };
    WizardRun run;
    run.display.ScriptModal("TSetupWizardForm", [&](ui::Form& form) {
        for (const auto& step : steps) {
            ASSERT_TRUE(step.action(run.display, form)) << step.step;
            EXPECT_EQ(Describe(See(run.wizard)), step.seen) << step.step;
        }
        EXPECT_EQ(run.wizard.Page(), TSetupWizardForm::kCompletePage);
        EXPECT_TRUE(run.display.Press(form, Key::kEnter));
    });
    EXPECT_TRUE(run.wizard.ShowWizard());
    EXPECT_EQ(run.wizard.Page(), TSetupWizardForm::kFinished);
    const WizardEntries entries = run.wizard.Entries();
    EXPECT_EQ(entries.hostName, u"mail.example.com");
    EXPECT_EQ(entries.domain, u"example.com");
    EXPECT_EQ(entries.user, u"admin");
    EXPECT_EQ(entries.password, u"");
    EXPECT_TRUE(run.display.Problems().empty());
}

TEST(SetupWizardForm, BackOnTheFirstPageDoesNothing) {
    WizardRun run;
    run.display.ScriptModal("TSetupWizardForm", [&](ui::Form& form) {
        EXPECT_FALSE(run.display.Click(form, "PreviousButton")) << "Back is disabled";
        run.wizard.PreviousButtonClick(*run.wizard.PreviousButton);
        EXPECT_EQ(run.wizard.Page(), TSetupWizardForm::kHostNamePage);
        EXPECT_EQ(Describe(See(run.wizard)),
                  "Host Name | NamePanel | back off | next \"Next >\" off | focus NameEdit");
        EXPECT_TRUE(run.display.Click(form, "CancelButton"));
    });
    EXPECT_FALSE(run.wizard.ShowWizard());
}

TEST(SetupWizardForm, EveryWayOutButFinishCancels) {
    using Leave = std::function<ui::ActionResult(ui::HeadlessDisplay&, ui::Form&)>;
    const struct {
        const char* way;
        Leave leave;
    } ways[] = {
        {"Esc", [](auto& display, auto& form) { return display.Press(form, Key::kEscape); }},
        {"Cancel", [](auto& display, auto& form) { return display.Click(form, "CancelButton"); }},
        {"close box", [](auto& display, auto& form) { return display.CloseBox(form); }},
    };
    for (const auto& way : ways) {
        WizardRun run;
        run.display.ScriptModal("TSetupWizardForm", [&](ui::Form& form) {
            ASSERT_TRUE(run.display.Type(form, "NameEdit", u"mail.example.com"));
            ASSERT_TRUE(run.display.Click(form, "NextButton"));
            ASSERT_TRUE(run.display.Type(form, "OtherEdit", u"example.com"));
            ASSERT_TRUE(run.display.Click(form, "NextButton"));
            ASSERT_TRUE(run.display.Type(form, "EmailEdit", u"admin"));
            EXPECT_TRUE(way.leave(run.display, form)) << way.way;
        });
        run.provisioning.RunPostInstallWizard();
        EXPECT_FALSE(run.wizard.Showing()) << way.way;
        EXPECT_TRUE(run.automation.Records().empty()) << way.way;
        EXPECT_TRUE(run.display.Problems().empty()) << way.way;
    }
}

// What the user typed reaches the server's objects: the user name trimmed and with a capital,
// the host name and the password as typed.
TEST(SetupWizardForm, FinishingCreatesDomainAndAdministratorFromTheEntries) {
    WizardRun run;
    run.display.ScriptModal("TSetupWizardForm", [&](ui::Form& form) {
        ASSERT_TRUE(run.display.Type(form, "NameEdit", u" mail.example.com"));
        ASSERT_TRUE(run.display.Press(form, Key::kEnter));
        ASSERT_TRUE(run.display.Type(form, "OtherEdit", u"example.com "));
        ASSERT_TRUE(run.display.Press(form, Key::kEnter));
        ASSERT_TRUE(run.display.Type(form, "EmailEdit", u" admin "));
        ASSERT_TRUE(run.display.Type(form, "PassEdit", u" s3cret"));
        ASSERT_TRUE(run.display.Press(form, Key::kEnter));
        ASSERT_TRUE(run.display.Press(form, Key::kEnter));
    });
    run.provisioning.RunPostInstallWizard();

    std::vector<std::string> calls;
    for (const auto& record : run.automation.Records()) {
        if (record.kind != platform::FakeAutomation::Record::Kind::kCall) {
            continue;
        }
        EXPECT_EQ(record.result, 0u) << record.method;
        std::string call = record.method;
        for (const platform::AutomationArg& arg : record.arguments) {
            switch (arg.kind) {
                case platform::AutomationArgKind::kWideText:
                    call += " " + util::WideToUTF8(arg.wide);
                    break;
                case platform::AutomationArgKind::kBoolean:
                    call += arg.boolean ? " true" : " false";
                    break;
                default:
                    call += " " + arg.text;
                    break;
            }
        }
        calls.push_back(call);
    }
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "New example.com",
                         "SetProperty D_AdminEmail admin@example.com",
                         "SetProperty D_Postmaster "
                         "postmaster;admin;administrator;supervisor;hostmaster;webmaster;abuse",
                         "Save",
                         "MakePrimaryDomain example.com",
                         "SetProperty C_Mail_SMTP_General_HostName  mail.example.com",
                         "Save",
                         "New admin@example.com",
                         "SetProperty U_Alias admin",
                         "SetProperty U_Mailbox admin",
                         "SetProperty U_Password  s3cret",
                         "SetProperty U_Name Admin",
                         "SetProperty U_Admin true",
                         "Save",
                     }));
}

// Each showing starts on the first page with host name, user and password emptied; the domain
// stays.
TEST(SetupWizardForm, ShowingAgainStartsOver) {
    WizardRun run;
    run.display.ScriptModal("TSetupWizardForm", [&](ui::Form& form) {
        ASSERT_TRUE(run.display.Type(form, "NameEdit", u"mail.example.com"));
        ASSERT_TRUE(run.display.Click(form, "NextButton"));
        ASSERT_TRUE(run.display.Type(form, "OtherEdit", u"example.com"));
        ASSERT_TRUE(run.display.Click(form, "NextButton"));
        ASSERT_TRUE(run.display.Type(form, "EmailEdit", u"admin"));
        ASSERT_TRUE(run.display.Type(form, "PassEdit", u"pw"));
        ASSERT_TRUE(run.display.Press(form, Key::kEscape));
    });
    EXPECT_FALSE(run.wizard.ShowWizard());
    run.display.ScriptModal("TSetupWizardForm", [&](ui::Form& form) {
        EXPECT_EQ(run.wizard.Page(), TSetupWizardForm::kHostNamePage);
        EXPECT_EQ(Describe(See(run.wizard)),
                  "Host Name | NamePanel | back off | next \"Next >\" off | focus NameEdit");
        const WizardEntries entries = run.wizard.Entries();
        EXPECT_EQ(entries.hostName, u"");
        EXPECT_EQ(entries.domain, u"example.com");
        EXPECT_EQ(entries.user, u"");
        EXPECT_EQ(entries.password, u"");
        EXPECT_TRUE(run.display.Click(form, "CancelButton"));
    });
    EXPECT_FALSE(run.wizard.ShowWizard());
}

}  // namespace
}  // namespace tolva::provisioning

#include "i18n/lang_select_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/fake/fake_system.h"
#include "ui/application.h"
#include "ui/form_snapshot.h"
#include "ui/headless_display.h"
#include "util/utf8.h"

namespace tolva::i18n {
namespace {

const std::vector<std::u16string> kCaptions = {u"Deutsch", u"English",
                                               u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439"};

struct DialogRun {
    platform::FakeSystem system;
    ui::HeadlessDisplay display;
    ui::Application application{display, &system};
    TLangSelectForm dialog{application};
};

TEST(LangSelectForm, ShowsTheLanguagesWithThePreselectedOneChosen) {
    DialogRun run;
    std::u16string shown;
    run.display.ScriptModal("TLangSelectForm", [&](ui::Form& form) {
        shown = ui::DescribeForm(form);
        EXPECT_EQ(run.dialog.LangCombo->ItemsText(),
                  u"Deutsch\r\nEnglish\r\n\u0420\u0443\u0441\u0441\u043A\u0438\u0439\r\n");
        EXPECT_TRUE(run.display.Click(form, "OKButton"));
    });
    EXPECT_EQ(run.dialog.ChooseLanguage(kCaptions, 1), 1);
    EXPECT_EQ(util::WideToUTF8(shown),
              "form TLangSelectForm \"Installer Language\"\n"
              "image Image\n"
              "label SelectLangL \"Please select a language.\"\n"
              "combo LangCombo \"English\" focused\n"
              "button OKButton \"OK\" default\n"
              "button CancelButton \"Cancel\"\n");
}

TEST(LangSelectForm, TheUsersAnswer) {
    using Script = std::function<ui::ActionResult(ui::HeadlessDisplay&, ui::Form&)>;
    const struct {
        const char* name;
        int preselected;
        Script script;
        std::optional<int> chosen;
    } cases[] = {
        {"OK keeps the preselection", 1,
         [](auto& display, auto& form) { return display.Click(form, "OKButton"); }, 1},
        {"a choice confirmed with Enter", 1,
         [](auto& display, auto& form) {
             auto chosen = display.Choose(form, "LangCombo", kCaptions[2]);
             return chosen ? display.Press(form, ui::Key::kEnter) : chosen;
         },
         2},
        {"Alt+O", 0, [](auto& display, auto& form) { return display.PressAlt(form, u'o'); }, 0},
        {"OK with nothing chosen", -1,
         [](auto& display, auto& form) { return display.Click(form, "OKButton"); }, -1},
        {"Cancel", 1, [](auto& display, auto& form) { return display.Click(form, "CancelButton"); },
         std::nullopt},
        {"Esc", 1, [](auto& display, auto& form) { return display.Press(form, ui::Key::kEscape); },
         std::nullopt},
        {"the close box", 1, [](auto& display, auto& form) { return display.CloseBox(form); },
         std::nullopt},
    };
    for (const auto& c : cases) {
        DialogRun run;
        run.display.ScriptModal("TLangSelectForm", [&](ui::Form& form) {
            const ui::ActionResult acted = c.script(run.display, form);
            EXPECT_TRUE(acted) << c.name << ": " << acted.reason;
        });
        EXPECT_EQ(run.dialog.ChooseLanguage(kCaptions, c.preselected), c.chosen) << c.name;
        EXPECT_TRUE(run.display.Problems().empty()) << c.name;
    }
}

// Each showing offers the languages given then, whatever the earlier one held.
TEST(LangSelectForm, ShownAgainOffersTheNewList) {
    DialogRun run;
    run.display.ScriptModal("TLangSelectForm", [&](ui::Form& form) {
        EXPECT_TRUE(run.display.Choose(form, "LangCombo", u"Deutsch"));
        EXPECT_TRUE(run.display.Click(form, "OKButton"));
    });
    ASSERT_EQ(run.dialog.ChooseLanguage(kCaptions, 1), 0);
    run.display.ScriptModal("TLangSelectForm", [&](ui::Form& form) {
        EXPECT_EQ(form.ActiveControl(), run.dialog.LangCombo) << "each showing starts in the list";
        EXPECT_TRUE(run.display.Click(form, "OKButton"));
    });
    EXPECT_EQ(run.dialog.ChooseLanguage({u"English", u"Fran\u00E7ais"}, 1), 1);
    EXPECT_EQ(run.dialog.LangCombo->Items().size(), 2u);
}

}  // namespace
}  // namespace tolva::i18n

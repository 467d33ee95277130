#pragma once
// The main window's pages driven through the headless display as a user goes through them.

#include <gtest/gtest.h>

#include <string>

#include "setup/component_tree.h"
#include "setup/main_form.h"
#include "ui/headless_display.h"

namespace tolva::setup::test {

inline std::string OnPage(const TMainForm& form) {
    return "on page " + std::to_string(form.State.PageIndex);
}

inline void ClickNext(ui::HeadlessDisplay& display, TMainForm& form) {
    ASSERT_TRUE(display.Click(form, "NextButton")) << OnPage(form);
}

// From the current page on to the page, entering what each page needs.
inline void GoToPage(ui::HeadlessDisplay& display, TMainForm& form, int page) {
    while (form.State.PageIndex < page) {
        if (form.State.PageIndex == TMainForm::kLicensePage) {
            ASSERT_TRUE(display.Tick(form, "LicenseAgree", true));
        }
        if (form.State.PageIndex == TMainForm::kCredentialsPage) {
            ASSERT_TRUE(display.Type(form, "NameEdit", u"Ann Admin"));
            ASSERT_TRUE(display.Type(form, "EmailEdit", u"ann@example.com"));
        }
        ClickNext(display, form);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

// Clicks the node of the component on its text, far from the tree's left edge.
inline ui::ActionResult ClickComponent(ui::HeadlessDisplay& display, TMainForm& form,
                                       int32_t component, int x = 60) {
    const int node = form.ComponentsList->FindNodeByData(component);
    return display.ClickNode(form, "ComponentsList", node, x);
}

}  // namespace tolva::setup::test

#pragma once
// The sample forms shown by the headless display, with message boxes answered by a script.

#include <gtest/gtest.h>

#include "platform/fake/fake_dialogs.h"
#include "sample_form.h"
#include "ui/application.h"
#include "ui/form_snapshot.h"
#include "ui/headless_display.h"
#include "util/utf8.h"

namespace tolva::ui::sample {

class SampleFixture : public ::testing::Test {
protected:
    SampleFixture() { form.Show(); }

    std::string Focused() const {
        return form.ActiveControl() != nullptr ? form.ActiveControl()->Name() : "(none)";
    }
    std::string LastEvent() const { return form.EventLog().empty() ? "" : form.EventLog().back(); }
    std::string Describe(const Form& shown) const { return util::WideToUTF8(DescribeForm(shown)); }

    platform::FakeDialogs dialogs;
    HeadlessDisplay display;
    Application application{display};
    TSampleForm form{application, dialogs};
};

}  // namespace tolva::ui::sample

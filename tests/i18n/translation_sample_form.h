#pragma once
// A form with one component of every class a language file names, and of classes it carries
// nothing for, in their English design: the control translation's tests and fuzz target
// translate it.

#include "ui/application.h"
#include "ui/form.h"

namespace tolva::i18n::test {

class TTranslationSample : public ui::Form {
public:
    // A form without Unicode texts: its caption and 8-bit components pass through the ANSI code
    // page.
    explicit TTranslationSample(ui::Application& application);
};

}  // namespace tolva::i18n::test

#pragma once
// The language dialog: the languages found at start-up in a drop-down list, OK and Cancel. Its
// texts are part of every language file (form TLangSelectForm), so a setup.lng beside the program
// already shows it in that language.

#include <optional>
#include <string>
#include <vector>

#include "i18n/language_dialog.h"
#include "ui/application.h"
#include "ui/form.h"

namespace tolva::i18n {

class TLangSelectForm : public ui::Form, public LanguageDialog {
public:
    explicit TLangSelectForm(ui::Application& application);

    std::optional<int> ChooseLanguage(const std::vector<std::u16string>& captions,
                                      int preselected) override;

    // Each showing starts in the list, so the arrow keys choose a language at once.
    void FormShow(ui::Form& sender);

    ui::Component* Image = nullptr;
    ui::Component* SelectLangL = nullptr;
    ui::Component* LangCombo = nullptr;
    ui::Component* OKButton = nullptr;
    ui::Component* CancelButton = nullptr;
};

}  // namespace tolva::i18n

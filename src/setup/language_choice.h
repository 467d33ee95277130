#pragma once
// The language dialog of a run: shown to the user, or answered with the language a run switch
// names (or the distribution's default) without a window. Either way it remembers the language
// chosen, for the answer file.

#include <optional>
#include <string>
#include <vector>

#include "i18n/language_dialog.h"

namespace tolva::setup {

class LanguageChoice : public i18n::LanguageDialog {
public:
    // dialog: the window to show; none for a run without one. wanted: a language name as the
    // language files mark it (UTF-8, letter case aside); empty: the preselected one, or English.
    LanguageChoice(i18n::LanguageDialog* dialog, std::string wanted)
        : dialog_(dialog), wanted_(std::move(wanted)) {}

    // Nothing when the wanted language is not among the captions (or the user cancelled).
    std::optional<int> ChooseLanguage(const std::vector<std::u16string>& captions,
                                      int preselected) override;

    // The caption of the language chosen (UTF-8); "English" when no dialog was needed.
    const std::string& Chosen() const { return chosen_; }
    // False when the wanted language is not offered; reason then names those that are.
    bool Offered(std::string& reason) const;

private:
    i18n::LanguageDialog* dialog_;
    std::string wanted_;
    std::string chosen_ = "English";
    std::vector<std::string> offered_ = {"English"};
};

}  // namespace tolva::setup

#pragma once
// What the language selection needs of the language dialog.

#include <optional>
#include <string>
#include <vector>

namespace tolva::i18n {

class LanguageDialog {
public:
    virtual ~LanguageDialog() = default;
    // Shows the captions in order, the one at preselected chosen (-1: none), modally. Nothing when
    // the user cancels or closes the window; after OK the chosen position, -1 when none is chosen.
    virtual std::optional<int> ChooseLanguage(const std::vector<std::u16string>& captions,
                                              int preselected) = 0;
};

}  // namespace tolva::i18n

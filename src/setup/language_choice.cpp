#include "setup/language_choice.h"

#include "util/utf8.h"

namespace tolva::setup {
namespace {

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameCaption(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<int> LanguageChoice::ChooseLanguage(const std::vector<std::u16string>& captions,
                                                  int preselected) {
    offered_.clear();
    for (const std::u16string& caption : captions) {
        offered_.push_back(util::WideToUTF8(caption));
    }
    std::optional<int> chosen;
    if (dialog_ != nullptr && wanted_.empty()) {
        chosen = dialog_->ChooseLanguage(captions, preselected);
    } else if (wanted_.empty()) {
        chosen = preselected;
        for (size_t i = 0; i < captions.size() && preselected < 0; ++i) {
            if (captions[i] == u"English") {
                chosen = static_cast<int>(i);
            }
        }
    } else {
        for (size_t i = 0; i < captions.size(); ++i) {
            if (SameCaption(captions[i], util::UTF8ToWide(wanted_))) {
                chosen = static_cast<int>(i);
            }
        }
    }
    if (chosen && *chosen >= 0 && static_cast<size_t>(*chosen) < offered_.size()) {
        chosen_ = offered_[static_cast<size_t>(*chosen)];
    }
    return chosen;
}

bool LanguageChoice::Offered(std::string& reason) const {
    if (wanted_.empty() || SameCaption(util::UTF8ToWide(wanted_), util::UTF8ToWide(chosen_))) {
        return true;
    }
    reason = "LANG: unknown language \"" + wanted_ + "\" (offered:";
    for (const std::string& language : offered_) {
        reason += " " + language;
    }
    reason += ")";
    return false;
}

}  // namespace tolva::setup

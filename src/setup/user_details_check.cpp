#include "setup/user_details_check.h"

#include <algorithm>

namespace tolva::setup {

bool HasText(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c > u' '; });
}

bool PlausibleEmail(std::u16string_view email) {
    const size_t at = email.find(u'@');
    const size_t dot = email.rfind(u'.');
    if (at == std::u16string_view::npos || dot == std::u16string_view::npos) {
        return false;
    }
    const size_t last = email.size() - 1;
    return at >= 1 && at < last && dot > at && dot < last;
}

}  // namespace tolva::setup

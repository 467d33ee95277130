#pragma once
// The checks of the user-details page, shared by the page and by choices given without it.

#include <string_view>

namespace tolva::setup {

// Not empty once blanks and control characters are trimmed from both ends.
bool HasText(std::u16string_view text);

// The first "@" is neither the first nor the last character, and the last "." comes after it
// without being the last character.
bool PlausibleEmail(std::u16string_view email);

}  // namespace tolva::setup

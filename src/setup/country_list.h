#pragma once
// The country list of the user-details page: English names in the order the list shows them.

#include <array>
#include <string_view>

namespace tolva::setup {

inline constexpr size_t kCountryCount = 247;

extern const std::array<std::u16string_view, kCountryCount> kCountries;

}  // namespace tolva::setup

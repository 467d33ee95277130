#pragma once
// Version strings such as "8.5.3" or "8.5.3-11" reduced to one comparable number.

#include <cstdint>
#include <string_view>

namespace tolva::util {

// major * 1,000,000 + minor * 10,000 + patch * 100 + build, in 32 bits without carry protection:
// a minor, patch or build of 100 or more spills into the next place. Fields are read leniently
// (LeadingInteger): a missing or non-numeric field counts as 0. Only the first 255 characters
// count.
uint32_t VersionNumber(std::string_view text);

// True when a's number is below b's (unsigned); an equal number is not lower.
bool IsVersionLower(std::string_view a, std::string_view b);

}  // namespace tolva::util

#pragma once
// Wildcard patterns as the server's lists and the module catalogue write them.

#include <string_view>

namespace tolva::util {

// True when the whole text matches the pattern: "*" stands for any run of characters (none
// included), "?" for any one character, every other character for itself (letter case counts).
bool WildcardMatch(std::string_view pattern, std::string_view text);

}  // namespace tolva::util

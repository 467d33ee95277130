#pragma once
// Base64 with the standard alphabet and padding.

#include <string>
#include <string_view>

namespace tolva::util {

std::string Base64Encode(std::string_view data);

// False, with out emptied, when the text is not canonical padded Base64: a length that is not a
// multiple of four, a character outside the alphabet (line breaks included), misplaced "=" or
// non-zero bits in the last character before the padding.
[[nodiscard]] bool Base64Decode(std::string_view text, std::string& out);

}  // namespace tolva::util

#pragma once
// UTF-16 <-> UTF-8 one code unit at a time, as the exchanged files of this product are written.
// Surrogate halves are encoded separately (three bytes each); four-byte sequences are not known.

#include <string>
#include <string_view>

namespace tolva::util {

std::string WideToUTF8(std::u16string_view text);

// Lenient: continuation bytes are not checked. A byte of 0x80 or above with bit 0x20 set starts a
// three-byte sequence, any other such byte a two-byte sequence. A sequence cut short by the end of
// the text is dropped.
std::u16string UTF8ToWide(std::string_view text);

}  // namespace tolva::util

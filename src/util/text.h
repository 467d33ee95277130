#pragma once
// Small ASCII text helpers with the semantics of the classic string routines the file formats
// and settings of this product were written with.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tolva::util {

// Remove spaces and control characters (every byte up to 0x20) from the ends.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// ASCII letters only; bytes of 0x80 and above are left as they are.
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);
// Equal when they differ at most in the case of ASCII letters.
bool SameText(std::string_view a, std::string_view b);

// The value of a hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);

// Every piece of the text between separators, empty ones included: "a;;b" gives "a", "", "b", and
// an empty text gives one empty piece.
std::vector<std::string> SplitText(std::string_view text, char separator);
// The items of a ";"-separated list that are not empty, as they stand.
std::vector<std::string> ListItems(std::string_view list);
// The items of a ";"-separated list, each trimmed; items that trim to nothing are left out.
std::vector<std::string> TrimmedListItems(std::string_view list);

// Reads the integer at the start of text as the classic Val does: leading spaces, an optional "+"
// or
// "-", hexadecimal after "$", "x", "X", "0x" or "0X", then digits up to the first character that
// does not fit. Nothing readable gives 0. Reading also stops before a digit that would take the
// magnitude past 32 bits, so the result is always defined.
int32_t LeadingInteger(std::string_view text);

// The whole text must be an integer in the form above (leading spaces allowed, nothing after the
// digits, within the 32-bit range); otherwise the default is returned.
int32_t StrToIntDef(std::string_view text, int32_t defaultValue);

// Every occurrence of from (case-sensitive, not empty) replaced by to, left to right; replaced text
// is not searched again.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Each "%s" of a message text replaced by the next value, left to right; marks beyond the values
// stay, and replaced text is not searched again.
std::u16string FillMarks(std::u16string_view text,
                         std::initializer_list<std::u16string_view> values);

}  // namespace tolva::util

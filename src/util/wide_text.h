#pragma once
// UTF-16 text and the wide strings of the Windows API, whose wchar_t holds one UTF-16 code unit
// there: the conversion copies unit by unit. Header only, so the Windows layers below this one can
// use it without linking it.

#include <string>
#include <string_view>

namespace tolva::util {

inline std::wstring ToWideString(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWideString(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

}  // namespace tolva::util

#pragma once
// Windows-1252, the ANSI code page the host and the fakes stand in for the system's one.

#include <string>
#include <string_view>

namespace tolva::platform {

// The five bytes 1252 leaves undefined map to the C1 controls of the same value, as Windows does.
std::u16string Windows1252ToWide(std::string_view text);
// Characters without a 1252 byte become '?'; a surrogate pair is one character.
std::string WideToWindows1252(std::u16string_view text);
// Upper case of a 1252 byte, for names Windows compares without regard to case.
char UpperCase1252(char c);

// Orders names as Windows compares them: byte by byte, each letter as its upper case.
struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

}  // namespace tolva::platform

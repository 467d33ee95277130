#pragma once
// The system ANSI code page (CP_ACP) at the edge of the wide Win32 API.

#include <string>
#include <string_view>

namespace tolva::platform {

std::wstring AnsiToWideText(std::string_view text);
// Without best-fit mapping: a character the code page lacks becomes '?', never a look-alike
// (a full-width backslash must not turn into a path separator).
std::string WideToAnsiText(std::wstring_view text);

}  // namespace tolva::platform

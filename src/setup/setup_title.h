#pragma once
// The titles setup shows: the application's and the main window's.

#include <string>

namespace tolva::setup {

inline constexpr char16_t kApplicationTitle[] = u"Setup";

// "<product> <version> Setup".
std::u16string MainWindowTitle();

}  // namespace tolva::setup

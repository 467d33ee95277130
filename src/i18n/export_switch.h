#pragma once
// The command-line switch that makes setup.exe write its English language file for translators.

#include <string>
#include <vector>

namespace tolva::i18n {

// True when any argument (the program's own name not included) is "exportlanguage" after "/" or
// "-", in any letter case.
bool HasExportLanguageSwitch(const std::vector<std::string>& arguments);

}  // namespace tolva::i18n

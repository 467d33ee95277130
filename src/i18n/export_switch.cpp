#include "i18n/export_switch.h"

#include <string_view>

#include "util/text.h"

namespace tolva::i18n {

bool HasExportLanguageSwitch(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (!argument.empty() && (argument.front() == '/' || argument.front() == '-') &&
            util::SameText(std::string_view(argument).substr(1), "exportlanguage")) {
            return true;
        }
    }
    return false;
}

}  // namespace tolva::i18n

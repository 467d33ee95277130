#include "util/folder_path.h"

namespace tolva::util {

std::string WithTrailingBackslash(std::string_view folder) {
    std::string result(folder);
    if (!result.empty() && result.back() != '\\' && result.back() != '/') {
        result += '\\';
    }
    return result;
}

}  // namespace tolva::util

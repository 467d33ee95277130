#include "stores/list_text.h"

#include <algorithm>

#include "util/text.h"

namespace tolva::stores {

std::string FirstListItem(std::string_view list) {
    return std::string(list.substr(0, list.find(';')));
}

std::string NormalizeList(std::string_view list, bool keepBlanks) {
    std::string text = util::Trim(list);
    if (text.find_first_of(", ") == std::string::npos) {
        return text;
    }
    std::replace(text.begin(), text.end(), ',', ';');
    if (!keepBlanks) {
        std::erase(text, ' ');
    }
    return text;
}

std::string NormalizeAddressList(std::string_view list) {
    std::string text = util::Trim(list);
    if (text.find_first_of(", ") == std::string::npos) {
        return text;
    }
    std::replace(text.begin(), text.end(), ',', ';');
    std::string result;
    for (size_t i = 0; i < text.size();) {
        if (text[i] != ' ') {
            result += text[i++];
            continue;
        }
        const size_t end = text.find_first_not_of(' ', i);
        // Trimmed, so a run of blanks always has text on both sides.
        if (result.back() != ';' && text[end] != ';') {
            result += ';';
        }
        i = end;
    }
    return result;
}

std::string RemoveComments(std::string_view line) {
    std::string text;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line.substr(i, 2) == "##") {
            text += '#';
            ++i;
        } else if (line[i] == '#' || line.substr(i, 3) == "// ") {
            break;
        } else {
            text += line[i];
        }
    }
    const size_t open = text.find("/*");
    if (open != std::string::npos) {
        const size_t close = text.find("*/", open + 2);
        if (close != std::string::npos) {
            text.erase(open, close + 2 - open);
        }
    }
    return util::Trim(text);
}

}  // namespace tolva::stores

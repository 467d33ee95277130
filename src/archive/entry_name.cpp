#include "archive/entry_name.h"

#include <algorithm>
#include <array>

#include "util/text.h"

namespace tolva::archive {

namespace {

bool IsForbiddenCharacter(unsigned char c) {
    return c < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*' ||
           c == ':';
}

// The digits Windows accepts after COM and LPT: 0 to 9, and the superscripts one to three, as the
// ANSI code page (Windows-1252) and UTF-8 spell them.
bool IsDeviceNumber(std::string_view digit) {
    static constexpr std::array<std::string_view, 6> kSuperscripts = {
        "\xB9", "\xB2", "\xB3", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
    if (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') {
        return true;
    }
    return std::find(kSuperscripts.begin(), kSuperscripts.end(), digit) != kSuperscripts.end();
}

// Windows maps the names its naming rules reserve to devices in any folder and whatever extension
// follows, and ignores blanks before the extension.
bool IsDeviceName(std::string_view segment) {
    std::string_view base = segment.substr(0, segment.find('.'));
    while (!base.empty() && base.back() == ' ') {
        base.remove_suffix(1);
    }
    const std::string upper = util::UpperCase(base);
    static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end()) {
        return true;
    }
    const std::string_view name = upper;
    return (name.starts_with("COM") || name.starts_with("LPT")) && IsDeviceNumber(name.substr(3));
}

bool IsSafeSegment(std::string_view segment) {
    if (segment.empty()) {
        return true;  // doubled backslashes collapse to one on Windows
    }
    if (segment.back() == '.' || segment.back() == ' ') {
        return false;  // also "." and ".."
    }
    if (std::any_of(segment.begin(), segment.end(),
                    [](char c) { return IsForbiddenCharacter(c); })) {
        return false;
    }
    return !IsDeviceName(segment);
}

}  // namespace

bool IsSafeEntryName(std::string_view name) {
    if (name.empty() || name.front() == '\\' || name.front() == '/') {
        return false;
    }
    size_t start = 0;
    while (true) {
        const size_t end = name.find_first_of("\\/", start);
        if (!IsSafeSegment(name.substr(start, end - start))) {
            return false;
        }
        if (end == std::string_view::npos) {
            return true;
        }
        start = end + 1;
    }
}

}  // namespace tolva::archive

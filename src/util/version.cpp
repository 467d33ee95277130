#include "util/version.h"

#include <string>

#include "util/text.h"

namespace tolva::util {

namespace {

constexpr size_t kMaxVersionLength = 255;

// Splits at the first occurrence of separator; without it, the tail is empty.
void SplitAt(std::string_view text, char separator, std::string_view& head,
             std::string_view& tail) {
    const size_t at = text.find(separator);
    if (at == std::string_view::npos) {
        head = text;
        tail = {};
    } else {
        head = text.substr(0, at);
        tail = text.substr(at + 1);
    }
}

uint32_t FieldValue(std::string_view field) {
    return static_cast<uint32_t>(LeadingInteger(Trim(field)));
}

}  // namespace

uint32_t VersionNumber(std::string_view text) {
    const std::string whole = Trim(text.substr(0, kMaxVersionLength));
    std::string_view major, afterMajor, minor, third, patch, build;
    SplitAt(whole, '.', major, afterMajor);
    SplitAt(afterMajor, '.', minor, third);
    const std::string thirdField = Trim(third);
    SplitAt(thirdField, '-', patch, build);
    // Unsigned arithmetic: overflow wraps as the 32-bit original did, without undefined behaviour.
    return FieldValue(major) * 1000000u + FieldValue(minor) * 10000u + FieldValue(patch) * 100u +
           FieldValue(build);
}

bool IsVersionLower(std::string_view a, std::string_view b) {
    return VersionNumber(a) < VersionNumber(b);
}

}  // namespace tolva::util

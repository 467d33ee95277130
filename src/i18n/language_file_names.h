#pragma once
// The element and attribute names of a language file (see language_file.h and
// control_translation.h for where each stands).

#include <string_view>

namespace tolva::i18n::names {

inline constexpr std::string_view kApplication = "APPLICATION";
inline constexpr std::string_view kForms = "FORMS";
inline constexpr std::string_view kForm = "FORM";
inline constexpr std::string_view kStrings = "STRINGS";
inline constexpr std::string_view kString = "STRING";
inline constexpr std::string_view kItem = "ITEM";

inline constexpr std::string_view kId = "ID";
inline constexpr std::string_view kValue = "VALUE";
inline constexpr std::string_view kClass = "CLASS";
inline constexpr std::string_view kCaption = "CAPTION";
inline constexpr std::string_view kItemsText = "ITEMSTEXT";
inline constexpr std::string_view kHint = "HINT";
inline constexpr std::string_view kFont = "FONT";
inline constexpr std::string_view kFontSize = "FONTSIZE";

// The ID of the STRING element the export writes.
inline constexpr std::string_view kStringListId = "TStrings";

}  // namespace tolva::i18n::names

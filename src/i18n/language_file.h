#pragma once
// Language files: one XML document (UTF-8, no declaration, CR LF after every element) with the
// texts of the forms and the values of the registered strings:
//
//     <APPLICATION>
//     <FORMS FONT="..." FONTSIZE="8"><FORM ID="TMainForm" CAPTION="..."><ITEM ID=".."
//     .../>...</FORM>
//     </FORMS>
//     <STRINGS><STRING ID="TStrings"><ITEM ID="cdoyouexit" VALUE="..."/>...</STRING>
//     </STRINGS>
//     </APPLICATION>
//
// A file the language scan is to find carries a marker such as <?lang caption='Deutsch'?> in its
// first or second line; the XML reader passes over it.

#include <cstdint>
#include <string_view>

#include "i18n/forms_translator.h"
#include "i18n/localization_strings.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "util/xml_object.h"

namespace tolva::i18n {

// The name of the language file beside the setup program and in the installation folder.
inline constexpr char kLanguageFileName[] = "setup.lng";
// Larger files are not read: a language file holds a few hundred texts.
inline constexpr uint64_t kMaxLanguageFileSize = 16 * 1024 * 1024;

// What reading and writing a language file works on.
struct LanguageFileScope {
    platform::FileSystem& files;
    const platform::System& system;
    TLocalizationStrings& strings;
    // Without one the FORMS section is neither applied nor filled.
    FormsTranslator* forms = nullptr;
};

// Reads the file and applies its FORMS section and, with importStrings, its STRINGS section, as far
// as they are found; what the file lacks stays as it was. False when the file cannot be read, is
// empty or too large (nothing changes then); true otherwise, however little the file held.
bool ImportLanguageFile(const LanguageFileScope& scope, std::string_view path, bool importStrings);

// Writes the language file of the current texts (with exportStrings, the registered strings too),
// creating missing folders. The file is replaced in one step, so a failed write leaves an earlier
// file as it was. True when written.
bool ExportLanguageFile(const LanguageFileScope& scope, std::string_view path, bool exportStrings);

// Applies the ITEM children of a STRING element: ID names the key, VALUE (or the element's text)
// the value; an ITEM without a value empties its entry, one with an unknown key is passed over.
void ImportStrings(const util::TXMLObject& stringElement, const platform::System& system,
                   TLocalizationStrings& registry = LocalizationStrings());

// Adds one ITEM per registered entry, in registration order; an empty value gives no VALUE.
void ExportStrings(util::TXMLObject& stringElement,
                   const TLocalizationStrings& registry = LocalizationStrings());

}  // namespace tolva::i18n

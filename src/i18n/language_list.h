#pragma once
// The list of languages the language dialog offers: the built-in English and every language file
// with a marker (<?lang caption='Deutsch'?>) in its first or second line, found in a folder tree.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/system.h"

namespace tolva::i18n {

// The caption of the built-in language.
inline constexpr char16_t kEnglish[] = u"English";
// Only this much of a file's start is searched for the marker lines.
inline constexpr size_t kMarkerWindow = 64 * 1024;

struct LanguageEntry {
    std::u16string caption;  // as the marker gives it, in any script
    std::string path;        // full path of the language file; empty for the built-in English
};
using LanguageList = std::vector<LanguageEntry>;

// The caption of the marker in a line that contains "<?lang "; nothing for any other line. The
// caption attribute may be quoted either way and may hold entities.
std::optional<std::u16string> LanguageMarkerCaption(std::string_view line,
                                                    const platform::System& system);

// Clears the list, then adds one entry per marker line of every file under the folder, sub-folders
// included at any depth: a file marked in both lines is listed twice. Names beginning with "." are
// passed over with all they hold, and so are linked folders (junctions), whose target may contain
// them again. A file or folder that cannot be read is passed over.
void ScanLanguageFiles(const platform::FileSystem& files, const platform::System& system,
                       std::string_view folder, LanguageList& list);

// Sorts by each entry's text (the caption, and ";" and the path when there is one), without regard
// to case.
void SortLanguageList(LanguageList& list);

// Position of the first entry whose caption equals the name without regard to case; -1 when none.
int FindLanguage(const LanguageList& list, std::u16string_view caption);

}  // namespace tolva::i18n

#pragma once
// Which entry names may be written below a destination folder.

#include <string_view>

namespace tolva::archive {

// True when name (with backslashes between folder levels) stays inside the folder it is extracted
// to and names a plain file there on Windows. Refused: an empty name; an absolute name (leading
// backslash or slash, which covers UNC and "\\?\" and "\\.\" forms) or one naming a drive; a ".."
// segment; a colon (drive or alternate data stream); a character Windows forbids in names (< > " |
// ? * and control characters); a segment ending in a dot or a blank, which Windows would silently
// strip; a reserved device name such as CON, NUL, COM1 or LPT1, also with an extension.
bool IsSafeEntryName(std::string_view name);

}  // namespace tolva::archive

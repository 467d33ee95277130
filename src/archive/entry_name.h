#pragma once
// Which entry names may be written below a destination folder.

#include <string_view>

namespace tolva::archive {

// True when name (with backslashes between folder levels) stays inside the folder it is extracted
// to and names a plain file there on Windows. Refused: an empty name; an absolute name (leading
// backslash or slash, which covers UNC and "\\?\" and "\\.\" forms) or one naming a drive; a ".."
// segment; a colon (drive or alternate data stream); a character Windows forbids in names (< > " |
// ? * and control characters); a segment ending in a dot or a blank, which Windows would silently
// strip; a name Windows reserves for a device (CON, PRN, AUX, NUL, COM0 to COM9 and LPT0 to LPT9,
// also with the superscript digits 1 to 3), in any case and also with an extension.
bool IsSafeEntryName(std::string_view name);

}  // namespace tolva::archive

#pragma once
// setup.exe names files in the system's ANSI code page. Started from a folder whose name that code
// page cannot hold (Cyrillic letters on a Western European system, say), it would find none of its
// archives and write its files under a name of question marks: it refuses to run there instead.

#include <string_view>

#include "platform/dialogs.h"
#include "platform/system.h"

namespace tolva::setup {

inline constexpr char16_t kFolderNotHeldText[] =
    u"Setup cannot run from the folder \"%s\": its name holds characters that this computer's "
    u"language for non-Unicode programs cannot represent. Move the setup files to a folder with "
    u"another name and start Setup again.";

// Whether the ANSI code page holds the text unchanged.
bool AnsiCodePageHolds(const platform::System& system, std::u16string_view text);

// True when setup.exe can run from the folder; otherwise the error box above has been shown (in
// English: no language file can be read from such a folder) and the run ends with
// kExitInstallFailure.
bool AcceptProgramFolder(platform::Dialogs& dialogs, const platform::System& system,
                         std::u16string_view folder);

}  // namespace tolva::setup

#pragma once
// Configuration files shipped as templates: placeholders filled with the folders of this
// installation when the file is put in place.

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/system.h"

namespace tolva::winsys {

// What the placeholders stand for, each with a trailing backslash.
struct TemplateValues {
    std::string installPath;  // "%%installpath%%": the installation folder
    std::string logPath;      // "%%logpath%%": the server's log folder
    std::string tempPath;     // "%%temppath%%": the Windows folder's subfolder temp
};

TemplateValues MakeTemplateValues(const platform::System& system, std::string_view installFolder,
                                  std::string_view logFolder);

// Writes targetFolder + the template's file name (the target folder is created): the template's
// lines, split at line feeds, each trimmed and ended by CR LF, empty lines left out, with the first
// occurrence of each placeholder in a line replaced. A template path that is not absolute is taken
// from baseFolder. The template may be the target itself. Nothing is written when the template
// cannot be read or has no line; a failed write leaves the target as it was. True when written.
bool FillTemplate(platform::FileSystem& files, std::string_view templateFile,
                  std::string_view baseFolder, std::string_view targetFolder,
                  const TemplateValues& values);

}  // namespace tolva::winsys

#pragma once
// Configuration files shipped as templates, whose placeholders take the folders of this
// installation when the file is put in place.

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/system.h"

namespace tolva::setup {

// What the placeholders stand for, each a folder with a trailing backslash.
struct TemplateValues {
    std::string installPath;  // "%%installpath%%": the installation folder
    std::string logPath;      // "%%logpath%%": the log folder of the run
    std::string tempPath;     // "%%temppath%%": the subfolder temp of the Windows folder
};

TemplateValues MakeTemplateValues(const platform::System& system, std::string_view installFolder,
                                  std::string_view logFolder);

// Writes targetFolder (created with its parents) + the template's file name: the template's
// lines split at line feeds, each trimmed, empty ones dropped, the first occurrence of each
// placeholder in a line replaced, each ended by CR LF. A template path that is not absolute
// (a leading backslash or slash, or a colon) is taken from baseFolder. Nothing is written when the
// template cannot be read or leaves no line; the file is written beside the target and moved into
// place, so a failed write leaves no partial file. True when the target was written.
bool FillTemplate(platform::FileSystem& files, std::string_view templateFile,
                  std::string_view baseFolder, std::string_view targetFolder,
                  const TemplateValues& values);

}  // namespace tolva::setup

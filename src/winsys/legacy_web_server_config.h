#pragma once
// "webserver.cfg", the web server's configuration before "webserver.dat": INI-style text with CR LF
// line ends, in which a section runs from its header to the first empty line. The section
// "[Filter]" holds lines "extension=module|handler name", "[Virtual-Host]" lines "path=handler
// name".

#include <string_view>

#include "platform/file_system.h"
#include "winsys/web_server_config.h"

namespace tolva::winsys {

inline constexpr char kLegacyWebServerConfigFile[] = "webserver.cfg";

// Brings configFolder + "webserver.cfg" of an old installation up to date, when it exists and can
// be read: unless it mentions "wcs.dll" it gains the handler line "=modules\wcs.dll|[wcs]" as the
// last line of "[Filter]" and the path line "/wcs/=[wcs]" as the first line of "[Virtual-Host]"
// (each section appended when missing), and every "webmail\web.dll" becomes "php\php.dll". The
// rest of the text is kept as it was; the file is written back even when nothing changed.
void PatchLegacyWebServerConfig(platform::FileSystem& files, std::string_view configFolder);

// The handler entries of "[Filter]" and the special paths of "[Virtual-Host]" as the default
// host of "webserver.dat". Lines without "=" are passed over.
WebHost ConvertLegacyHandlers(std::string_view text);

}  // namespace tolva::winsys

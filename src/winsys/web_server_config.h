#pragma once
// The web server's configuration in "webserver.dat" of the configuration folder, as far as the
// installer edits it: per virtual host, the handler entries (which module serves which extension)
// and the special paths (which handler serves which path). Everything else in the document is kept
// as read and written back unchanged, as are handler entries and paths the caller did not change.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/system.h"
#include "util/xml_object.h"

namespace tolva::winsys {

inline constexpr char kWebServerConfigFile[] = "webserver.dat";

enum class HandlerType : uint8_t { kIsapi = 0, kCgi = 1, kFastCgi = 2, kSsi = 3 };

// Loading stores every text field lower-cased and cut to 255 characters.
struct HandlerEntry {
    std::string extension;  // with its dot, or empty
    std::string module;     // the handler module's path, without its type marker
    HandlerType type = HandlerType::kIsapi;
    std::string title;       // the handler's name, such as "[webdav]"
    std::string extraTitle;  // written after the title and a comma when not empty
    // The element the entry was read from; an entry without one is written as a new element.
    const util::TXMLObject* element = nullptr;
};

struct SpecialPath {
    std::string path;    // relative, with backslashes: "webdav\"
    std::string module;  // the name of the handler that serves it
    std::string script;  // relative to the installation folder
    const util::TXMLObject* element = nullptr;
};

struct WebHost {
    std::vector<HandlerEntry> handlers;
    std::vector<SpecialPath> specialPaths;
    util::TXMLObject* element = nullptr;
};

struct WebServerConfig {
    // In document order; the first is the default host.
    std::vector<WebHost> hosts;
    // The document as read, so that saving keeps what is not modelled above.
    std::unique_ptr<util::TXMLObject> document;
};

// The entries that list items with these texts give: the module text may start with a type marker
// ("(isapi)", "(cgi)", "(fastcgi)", "(ssi)"; without one, a module naming a ".dll" is ISAPI and any
// other CGI), the title text holds the title and, after a comma, the extra title. A path is
// written with slashes and a leading one.
HandlerEntry MakeHandlerEntry(std::string_view extension, std::string_view moduleText,
                              std::string_view titleText);
SpecialPath MakeSpecialPath(std::string_view pathText, std::string_view module,
                            std::string_view script);

// Reads configFolder + "webserver.dat" into config. When that file is missing but the older
// "webserver.cfg" exists, its handler lists are converted first: "webserver.dat" is saved from
// them and only then is "webserver.cfg" renamed to "webserver.cfg.old". True when the file held at
// least one host; otherwise config holds one empty default host, which must not be saved over a
// file that could not be read.
bool LoadWebServerConfig(platform::FileSystem& files, const platform::System& system,
                         std::string_view configFolder, WebServerConfig& config);

// Writes config to configFolder + "webserver.dat", replacing the file only once the new content is
// complete. Each list element is written only when its list has an entry; entries and hosts that
// are new get new elements after those of their kind, and elements whose entry was removed go.
bool SaveWebServerConfig(platform::FileSystem& files, const platform::System& system,
                         std::string_view configFolder, WebServerConfig& config);

}  // namespace tolva::winsys

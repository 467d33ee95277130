#pragma once
// The handler entries that upgrades add to the web server configuration.

#include <string_view>

#include "platform/file_system.h"
#include "platform/system.h"
#include "upgrade/web_server_edits.h"

namespace tolva::winsys {

class WebHandlerEdits : public upgrade::WebServerEdits {
public:
    WebHandlerEdits(platform::FileSystem& files, const platform::System& system)
        : files_(files), system_(system) {}

    // An ISAPI entry "php\php.dll" titled "[webdav]" without extension, and the special path
    // "webdav/" served by "[webdav]" with the script "webdav\index.html".
    bool AddWebDavHandler(std::string_view configFolder) override;
    // An ISAPI entry "php\php.dll" for ".php" without title.
    bool AddPhpHandler(std::string_view configFolder) override;

private:
    platform::FileSystem& files_;
    const platform::System& system_;
};

}  // namespace tolva::winsys

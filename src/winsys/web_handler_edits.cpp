#include "winsys/web_handler_edits.h"

#include <algorithm>
#include <functional>
#include <string>

#include "winsys/web_server_config.h"

namespace tolva::winsys {

namespace {

constexpr char kPhpModule[] = "php\\php.dll";

HandlerEntry PhpModuleEntry(std::string extension, std::string title) {
    HandlerEntry entry;
    entry.extension = std::move(extension);
    entry.module = kPhpModule;
    entry.type = HandlerType::kIsapi;
    entry.title = std::move(title);
    return entry;
}

// Loading stores titles and extensions in lower case, so any spelling in the file is found.
bool EditDefaultHost(platform::FileSystem& files, const platform::System& system,
                     std::string_view configFolder,
                     const std::function<bool(const HandlerEntry&)>& present,
                     const std::function<void(WebHost&)>& add) {
    WebServerConfig config;
    if (!LoadWebServerConfig(files, system, configFolder, config)) {
        return false;
    }
    WebHost& host = config.hosts.front();
    if (std::any_of(host.handlers.begin(), host.handlers.end(), present)) {
        return false;
    }
    add(host);
    return SaveWebServerConfig(files, system, configFolder, config);
}

}  // namespace

bool WebHandlerEdits::AddWebDavHandler(std::string_view configFolder) {
    return EditDefaultHost(
        files_, system_, configFolder,
        [](const HandlerEntry& entry) { return entry.title == "[webdav]"; },
        [](WebHost& host) {
            host.handlers.push_back(PhpModuleEntry("", "[webdav]"));
            host.specialPaths.push_back({"webdav/", "[webdav]", "webdav\\index.html"});
        });
}

bool WebHandlerEdits::AddPhpHandler(std::string_view configFolder) {
    return EditDefaultHost(
        files_, system_, configFolder,
        [](const HandlerEntry& entry) { return entry.extension == ".php"; },
        [](WebHost& host) { host.handlers.push_back(PhpModuleEntry(".php", "")); });
}

}  // namespace tolva::winsys

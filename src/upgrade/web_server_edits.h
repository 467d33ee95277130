#pragma once
// The edits of the web server configuration that upgrade steps make. The web server configuration
// code of the layer above provides them; the install sequence hands them to the upgrade steps.

#include <string_view>

namespace tolva::upgrade {

class WebServerEdits {
public:
    virtual ~WebServerEdits() = default;

    // Each works on "webserver.dat" of configFolder (with a trailing backslash) and its default
    // host, and saves only when it added something; true when it did. A file without any host is
    // left as it is.

    // The WebDAV handler (title "[webdav]") and its path "webdav/", unless the handler is there.
    virtual bool AddWebDavHandler(std::string_view configFolder) = 0;
    // The PHP handler for ".php", unless one serves that extension.
    virtual bool AddPhpHandler(std::string_view configFolder) = 0;
};

}  // namespace tolva::upgrade

#pragma once
// The installer's own HTTP/1.1 client: one GET, redirects followed, the body saved in a temporary
// file. Blocking; meant for the user-interface thread.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/network.h"
#include "platform/system.h"

namespace tolva::net {

struct HttpClientOptions {
    // Where temporary files go when the system names no temporary folder: the setup program's.
    std::string fallbackFolder;
    // PEM file of an extra trusted root for TLS peers; for tests only.
    std::string extraTrustedRootFile;
    // The longest wait for a connection or for the next piece of a response.
    uint32_t waitMs = 30000;
};

class HttpClient {
public:
    HttpClient(platform::Network& network, platform::FileSystem& files,
               const platform::System& system, HttpClientOptions options = {});

    // Fetches the URL with GET into a new temporary file and returns its name; empty on any
    // failure, and then no file is left. With includeHeaders the response's header block is
    // written ahead of the body.
    std::string HTTPDownload(std::string_view url, bool includeHeaders);

    // At most this many redirects are followed; one more fails the download.
    static constexpr int kMaxRedirects = 32;

private:
    struct Outcome;

    Outcome Fetch(std::string_view url, bool includeHeaders, std::string& extraHeaders);
    std::string NextTempFileName();

    platform::Network& network_;
    platform::FileSystem& files_;
    const platform::System& system_;
    HttpClientOptions options_;
    // Counts every request of the process, redirects included; names the temporary files.
    uint32_t requestCounter_ = 0;
    // The file being written, so that an unexpected end can still remove it.
    std::string openFile_;
};

// "yyyymmddhhnnss" + the counter in upper-case hex, padded or cut to 4 digits, + ".tmp".
std::string TempFileBaseName(const platform::LocalTime& now, uint32_t counter);

}  // namespace tolva::net

#pragma once
// The installer's own HTTP/1.1 client: one GET, redirects followed, the body saved in a temporary
// file. Blocking; meant for the user-interface thread.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/network.h"
#include "platform/platform.h"
#include "platform/system.h"

namespace tolva::net {

struct HttpClientOptions {
    // Where temporary files go when the system names no temporary folder: the setup program's.
    std::string fallbackFolder;
    // PEM file of an extra trusted root for TLS peers; for tests only.
    std::string extraTrustedRootFile;
    // The longest wait for a connection or for the next piece of a response.
    uint32_t waitMs = 30000;
    // The longest one download may take, from its first connection to the last byte of the body,
    // every redirect and TLS handshake included. Generous, so that a large archive on a slow line
    // still arrives; a peer that trickles bytes cannot hold the installer forever.
    uint32_t deadlineMs = 30 * 60 * 1000;
};

class HttpClient {
public:
    HttpClient(platform::Network& network, platform::FileSystem& files,
               const platform::System& system, HttpClientOptions options = {});
    // On the bundle's network, file system and system.
    explicit HttpClient(const platform::Platform& platform, HttpClientOptions options = {});

    static constexpr uint64_t kNoSizeLimit = std::numeric_limits<uint64_t>::max();

    // Fetches the URL with GET into a new temporary file and returns its name; empty on any
    // failure, and then no file is left. With includeHeaders the response's header block is
    // written ahead of the body. A body of more than maxBodySize bytes is a failure.
    std::string HTTPDownload(std::string_view url, bool includeHeaders,
                             uint64_t maxBodySize = kNoSizeLimit);

    // At most this many redirects are followed; one more fails the download.
    static constexpr int kMaxRedirects = 32;

private:
    struct Outcome;
    class Exchange;

    std::string NextTempFileName();

    platform::Network& network_;
    platform::FileSystem& files_;
    const platform::System& system_;
    HttpClientOptions options_;
};

// The largest catalogue the installer reads (the module catalogue and the products catalogue);
// a larger one is refused before it is parsed.
inline constexpr uint64_t kMaxCatalogueSize = 1024 * 1024;

// "yyyymmddhhnnss" + the counter in upper-case hex, padded or cut to 4 digits, + ".tmp".
std::string TempFileBaseName(const platform::LocalTime& now, uint32_t counter);

}  // namespace tolva::net

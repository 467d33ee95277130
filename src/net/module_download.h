#pragma once
// Fetching component archives that are missing beside the setup program, as the vendor's module
// catalogue lists them, into the extraction folder.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "net/download_window.h"
#include "net/http_download.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "util/setup_abort.h"

namespace tolva::net {

// The window texts of the download; the wizard passes them from its string table. "%s" marks
// where names and addresses go, in order.
struct DownloadTexts {
    std::u16string downloadingFiles = u"Downloading Files...";
    std::u16string downloadError =
        u"Could not download file %s from the Internet.\r\n"
        u"Please, check your Internet connection and make sure the URL %s is working properly.";
    std::u16string downloadErrorVersion =
        u"The setup version %s does not match the version %s of the remote components on the "
        u"server. Please, download the latest setup.";
    std::u16string downloadErrorMove =
        u"Could not move downloaded file %s. Please, check your directory rights.";
};

// True when the version matches the pattern: "*" stands for any run of characters, "?" for any
// one; without either the two must be equal. Case-sensitive.
bool MatchesVersionPattern(std::string_view pattern, std::string_view version);

class ModuleDownloader {
public:
    // Picks an index below count, each with the same chance.
    using RandomIndex = std::function<size_t(size_t count)>;

    ModuleDownloader(HttpClient& http, platform::FileSystem& files, const platform::System& system,
                     DownloadWindow& window, util::SetupAbort& abort, DownloadTexts texts = {});

    void SetRandomIndex(RandomIndex random) { random_ = std::move(random); }

    // Fetches the catalogue at moduleDownloadUrl (the vendor's when empty, which is then stored
    // there; one larger than kMaxCatalogueSize is refused), then each archive into extractDir +
    // name. An archive for which the catalogue gives a SHA-256 is checked before it is moved; a
    // mismatch fails like a download. Any failure aborts the installer; false is
    // returned only when the abort came back.
    bool DownloadModules(std::string& moduleDownloadUrl, std::string_view extractDir,
                         const std::vector<std::string>& archives);

private:
    bool Abort(const std::u16string& message, std::u16string_view details = {});
    std::u16string Wide(std::string_view text) const { return system_.AnsiToWide(text); }

    HttpClient& http_;
    platform::FileSystem& files_;
    const platform::System& system_;
    DownloadWindow& window_;
    util::SetupAbort& abort_;
    DownloadTexts texts_;
    RandomIndex random_;
};

}  // namespace tolva::net

#pragma once
// The online version check: the newest version and its download page from the products catalogue.

#include <string>
#include <string_view>

#include "net/http_download.h"
#include "platform/file_system.h"
#include "platform/system.h"

namespace tolva::net {

struct LatestVersion {
    bool found = false;
    // The url attribute of the first TM element; only an "http://" or "https://" address counts,
    // any other leaves the newest version not found.
    std::string downloadPageUrl;
    std::string version;  // the text of that element
};

// Reads the catalogue at productsXmlUrl, or the vendor's when that is empty. Every failure gives
// found = false, a catalogue larger than kMaxCatalogueSize too; nothing is reported.
LatestVersion CheckLatestVersion(HttpClient& http, platform::FileSystem& files,
                                 const platform::System& system, std::string_view productsXmlUrl);

// True when the catalogue names a version above this setup's, which the user is then offered.
bool IsNewerThanSetup(const LatestVersion& latest);

}  // namespace tolva::net

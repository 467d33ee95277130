#include "net/version_check.h"

#include "net/http_url.h"
#include "util/product.h"
#include "util/version.h"
#include "util/xml_scanner.h"
#include "util/xml_tag.h"

namespace tolva::net {

LatestVersion CheckLatestVersion(HttpClient& http, platform::FileSystem& files,
                                 const platform::System& system, std::string_view productsXmlUrl) {
    LatestVersion latest;
    std::string url = productsXmlUrl.empty() ? std::string(kDefaultProductsCatalogueUrl)
                                             : std::string(productsXmlUrl);
    std::string file = http.HTTPDownload(url, false, kMaxCatalogueSize);
    if (file.empty()) {
        return latest;
    }
    util::TXMLType xml;
    bool loaded = util::XMLLoadFile(xml, files, file);
    (void)files.RemoveFile(file);
    std::string outer;
    if (!loaded || !util::XMLFindElement(xml, "TM", true, util::xcNone, system, outer)) {
        return latest;
    }
    latest.downloadPageUrl = util::XMLTagAttribute(outer, "url", util::xcFull, system);
    // The page is handed to the system to open: nothing but a web address may come from outside.
    if (!IsWebAddress(latest.downloadPageUrl)) {
        return LatestVersion{};
    }
    if (!util::XMLFindElement(xml, "TM", false, util::xcNone, system, latest.version)) {
        latest.version.clear();
    }
    latest.found = true;
    return latest;
}

bool IsNewerThanSetup(const LatestVersion& latest) {
    return latest.found && !latest.version.empty() &&
           util::VersionNumber(latest.version) > util::VersionNumber(kSetupVersion);
}

}  // namespace tolva::net

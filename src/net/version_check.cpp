#include "net/version_check.h"

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
    std::string file = http.HTTPDownload(url, false);
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

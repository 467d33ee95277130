#include "net/module_download.h"

#include <optional>
#include <random>

#include "net/download_digest.h"
#include "util/product.h"
#include "util/text.h"
#include "util/wildcard.h"
#include "util/xml_object.h"

namespace tolva::net {
namespace {

size_t SystemRandomIndex(size_t count) {
    static std::mt19937 engine{std::random_device{}()};
    return std::uniform_int_distribution<size_t>(0, count - 1)(engine);
}

}  // namespace

bool MatchesVersionPattern(std::string_view pattern, std::string_view version) {
    if (pattern.find_first_of("*?") == std::string_view::npos) {
        return pattern == version;
    }
    return util::WildcardMatch(pattern, version);
}

ModuleDownloader::ModuleDownloader(HttpClient& http, platform::FileSystem& files,
                                   const platform::System& system, DownloadWindow& window,
                                   util::SetupAbort& abort, DownloadTexts texts)
    : http_(http),
      files_(files),
      system_(system),
      window_(window),
      abort_(abort),
      texts_(std::move(texts)),
      random_(SystemRandomIndex) {}

bool ModuleDownloader::Abort(const std::u16string& message, std::u16string_view details) {
    abort_.Abort(message, details);
    return false;
}

bool ModuleDownloader::DownloadModules(std::string& moduleDownloadUrl, std::string_view extractDir,
                                       const std::vector<std::string>& archives) {
    const int oldMaximum = window_.ProgressMax();
    window_.SetProgressMax(static_cast<int>(archives.size() * 2));
    const std::u16string oldCaption = window_.PageCaption();
    window_.SetPageCaption(texts_.downloadingFiles);
    window_.SetProgressText(texts_.downloadingFiles);
    window_.Repaint();

    if (moduleDownloadUrl.empty()) {
        moduleDownloadUrl = kDefaultModuleCatalogueUrl;
    }
    const std::string catalogueUrl = moduleDownloadUrl;
    std::string catalogue;
    std::string catalogueFile = http_.HTTPDownload(catalogueUrl, false, kMaxCatalogueSize);
    if (!catalogueFile.empty()) {
        if (!files_.ReadWholeFile(catalogueFile, catalogue).ok()) {
            catalogue.clear();
        }
        (void)files_.RemoveFile(catalogueFile);
    }
    if (catalogue.empty()) {
        std::u16string names;
        for (const std::string& name : archives) {
            names += u"\r\n" + Wide(name);
        }
        return Abort(
            util::FillMarks(texts_.downloadError, {Wide(catalogueUrl), Wide(catalogueUrl)}), names);
    }

    util::TXMLObject xml(system_);
    xml.ParseXML(catalogue);
    const util::TXMLObject* root = xml.Children.empty() ? nullptr : xml.Children.front().get();
    std::vector<std::string> bases =
        util::SplitText(util::TXMLObject::GetChildText(root, "URL", util::xcFull), ';');
    const std::string base = bases[random_(bases.size())];
    const std::string version = util::TXMLObject::GetChildText(root, "VERSION", util::xcFull);
    if (!MatchesVersionPattern(version, kSetupVersion)) {
        return Abort(
            util::FillMarks(texts_.downloadErrorVersion, {Wide(kSetupVersion), Wide(version)}));
    }

    for (const std::string& name : archives) {
        window_.StepProgress();
        window_.Repaint();
        std::string file = http_.HTTPDownload(base + name, false);
        std::optional<std::string> digest = CatalogueDigest(root, name);
        if (!file.empty() && digest && !FileMatchesDigest(files_, file, *digest)) {
            (void)files_.RemoveFile(file);
            file.clear();
        }
        if (file.empty()) {
            return Abort(util::FillMarks(texts_.downloadError, {Wide(name), Wide(base)}));
        }
        if (!files_.MoveTo(file, std::string(extractDir) + name, true).ok()) {
            (void)files_.RemoveFile(file);
            return Abort(util::FillMarks(texts_.downloadErrorMove, {Wide(name)}));
        }
        window_.StepProgress();
        window_.Repaint();
    }

    window_.SetProgressPosition(0);
    window_.SetProgressMax(oldMaximum);
    window_.SetPageCaption(oldCaption);
    window_.Repaint();
    return true;
}

}  // namespace tolva::net

#include "i18n/localization.h"

#include <utility>
#include <vector>

#include "archive/extract_archive.h"
#include "i18n/language_list.h"
#include "util/string_file.h"
#include "util/utf8.h"

namespace tolva::i18n {

namespace {

constexpr char kLicenseName[] = "license.txt";
constexpr char kReadmeName[] = "readme.txt";

std::string FolderOf(std::string_view path) {
    const size_t separator = path.find_last_of('\\');
    return std::string(separator == std::string_view::npos ? std::string_view()
                                                           : path.substr(0, separator + 1));
}

}  // namespace

Localization::Localization(platform::FileSystem& files, const platform::System& system,
                           std::string setupFolder, bool exportLanguage,
                           TLocalizationStrings& registry, TUIStrings& strings)
    : files_(files),
      system_(system),
      setupFolder_(std::move(setupFolder)),
      exportLanguage_(exportLanguage),
      registry_(registry),
      strings_(strings) {}

void Localization::RegisterUIStrings() {
    if (registered_) {
        return;
    }
    registered_ = true;
    CaptureTreeCaptions();
    RegisterUIStringTable(strings_, registry_);
}

void Localization::CaptureTreeCaptions() {
    if (tree_ != nullptr) {
        i18n::CaptureTreeCaptions(*tree_, strings_);
    }
}

void Localization::ApplyTreeCaptions() {
    if (tree_ != nullptr) {
        i18n::ApplyTreeCaptions(strings_, *tree_);
    }
}

bool Localization::ImportLanguageFile(std::string_view path, bool importStrings) {
    return i18n::ImportLanguageFile(Scope(), path, importStrings);
}

bool Localization::ExportLanguageFile(std::string_view path, bool exportStrings) {
    return i18n::ExportLanguageFile(Scope(), path, exportStrings);
}

LanguageLoad Localization::LoadLanguage(std::string_view path) {
    languageFile_ = path.empty() ? setupFolder_ + kLanguageFileName : std::string(path);
    const std::string file = languageFile_.substr(0, util::kMaxFileNameLength);
    const bool exists = files_.FileExists(file);
    if (exportLanguage_ || exists) {
        RegisterUIStrings();
    }
    if (exists) {
        (void)ImportLanguageFile(file, true);
        ApplyTreeCaptions();
    }
    if (exportLanguage_) {
        (void)ExportLanguageFile(file, true);
        return LanguageLoad::kEndRun;
    }
    return LanguageLoad::kContinue;
}

std::string Localization::LanguageFolder(std::string_view extractDir) {
    const std::string archive = setupFolder_ + kLanguageArchiveName;
    if (!files_.FileExists(archive)) {
        return setupFolder_ + kLanguageFolderName;
    }
    std::string folder = std::string(extractDir) + kLanguageFolderName;
    // What an extraction that stops midway wrote is offered all the same.
    int resultCode = 0;
    (void)archive::ExtractArchive(files_, archive, folder, resultCode, true, {}, {}, {});
    return folder;
}

bool Localization::SelectLanguage(LanguageDialog& dialog, std::string_view extractDir,
                                  std::string_view defaultLanguage, std::string& licenseFile,
                                  std::string& readmeFile) {
    LanguageList languages;
    ScanLanguageFiles(files_, system_, LanguageFolder(extractDir), languages);
    languages.push_back({kEnglish, {}});
    SortLanguageList(languages);
    if (languages.size() == 1) {
        return true;
    }

    std::vector<std::u16string> captions;
    captions.reserve(languages.size());
    for (const LanguageEntry& language : languages) {
        captions.push_back(language.caption);
    }
    const int preselected = FindLanguage(
        languages, defaultLanguage.empty() ? kEnglish : util::UTF8ToWide(defaultLanguage));
    const std::optional<int> chosen = dialog.ChooseLanguage(captions, preselected);
    if (!chosen) {
        return false;
    }
    if (*chosen < 0 || static_cast<size_t>(*chosen) >= languages.size()) {
        return true;
    }
    const std::string& path = languages[static_cast<size_t>(*chosen)].path;
    if (path.empty()) {
        // English keeps the texts and documents it has.
        return true;
    }
    (void)LoadLanguage(path);
    const std::string folder = FolderOf(path);
    if (files_.FileExists(folder + kLicenseName)) {
        licenseFile = folder + kLicenseName;
    }
    if (files_.FileExists(folder + kReadmeName)) {
        readmeFile = folder + kReadmeName;
    }
    return true;
}

}  // namespace tolva::i18n

#pragma once
// The language of one run of setup.exe: the UI string table entered in the registry, the language
// file beside the program or chosen in the language dialog, and the export for translators.
//
// Start-up, in this order (the dialog and forms must exist before the first call):
//     i18n::Localization localization(files, system, setupFolder,
//                                     i18n::HasExportLanguageSwitch(arguments));
//     localization.SetFormsTranslator(&translator);
//     localization.SetComponentsTree(&tree);
//     if (localization.LoadLanguage({}) == i18n::LanguageLoad::kEndRun) -> end, exit code 0
//     ... info.xml, switches, extraction folder, LicenseFile and ReadmeFile ...
//     if (!localization.SelectLanguage(dialog, extractDir, defaultLanguage, licenseFile,
//                                      readmeFile)) -> end, exit code 0
// LanguageFile() is then the setup.lng to deploy.

#include <string>
#include <string_view>

#include "i18n/forms_translator.h"
#include "i18n/language_dialog.h"
#include "i18n/language_file.h"
#include "i18n/localization_strings.h"
#include "i18n/tree_captions.h"
#include "i18n/ui_strings.h"
#include "platform/file_system.h"
#include "platform/system.h"

namespace tolva::i18n {

// The archive of language files beside the setup program, and the folder the languages are found
// in (beside the program, or in the extraction folder when the archive is there).
inline constexpr char kLanguageArchiveName[] = "setuplang.dat";
inline constexpr char kLanguageFolderName[] = "lang\\";

enum class LanguageLoad {
    kContinue,
    kEndRun,  // the language file was exported on request: the run ends here, with exit code 0
};

class Localization {
public:
    // setupFolder: the setup program's folder, with a trailing backslash. exportLanguage: the
    // command line asks for the language file to be written.
    Localization(platform::FileSystem& files, const platform::System& system,
                 std::string setupFolder, bool exportLanguage,
                 TLocalizationStrings& registry = LocalizationStrings(),
                 TUIStrings& strings = UIStrings());

    // Either may be null (no forms, no components tree); both must outlive their use here.
    void SetFormsTranslator(FormsTranslator* forms) { forms_ = forms; }
    void SetComponentsTree(ComponentsTreeCaptions* tree) { tree_ = tree; }

    // Once per run, later calls do nothing: the tree entries take the components tree's captions,
    // then every table entry is registered.
    void RegisterUIStrings();
    void CaptureTreeCaptions();
    void ApplyTreeCaptions();

    bool ImportLanguageFile(std::string_view path, bool importStrings);
    bool ExportLanguageFile(std::string_view path, bool exportStrings);

    // Loads the language file at path (the setup program's setup.lng when empty), when it exists.
    // With the export switch the file is then written with the texts in use: the English ones, or
    // those just read; the run is to end, whether or not it could be written.
    [[nodiscard]] LanguageLoad LoadLanguage(std::string_view path);
    // The full path of the language file last given to LoadLanguage (it may not exist).
    const std::string& LanguageFile() const { return languageFile_; }

    // Offers the languages found (in setuplang.dat beside the program, extracted into the
    // extraction folder's "lang\", or else in the "lang\" folder beside the program) and English,
    // and loads the one chosen; the dialog is not shown when English is all there is. The
    // preselection is defaultLanguage (info.xml LANGUAGE as read, UTF-8), English when it is empty.
    // A chosen language's folder may hold its own license.txt and readme.txt, which then replace
    // licenseFile and readmeFile. False when the user cancels.
    bool SelectLanguage(LanguageDialog& dialog, std::string_view extractDir,
                        std::string_view defaultLanguage, std::string& licenseFile,
                        std::string& readmeFile);

private:
    LanguageFileScope Scope() { return {files_, system_, registry_, forms_}; }
    std::string LanguageFolder(std::string_view extractDir);

    platform::FileSystem& files_;
    const platform::System& system_;
    const std::string setupFolder_;
    const bool exportLanguage_;
    TLocalizationStrings& registry_;
    TUIStrings& strings_;
    FormsTranslator* forms_ = nullptr;
    ComponentsTreeCaptions* tree_ = nullptr;
    bool registered_ = false;
    std::string languageFile_;
};

}  // namespace tolva::i18n

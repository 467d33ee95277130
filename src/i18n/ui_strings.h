#pragma once
// The UI string table: every message, prompt, progress text, page title, button caption and
// shortcut caption that setup.exe's own code shows. Each entry has a key, an English default and a
// UTF-16 value that a language file replaces, so text of any language survives on any code page.
//
// Reading a text:
//     #include "i18n/ui_strings.h"
//     dialogs.ShowMessageBox({i18n::Text(i18n::cDoYouExit), i18n::Text(i18n::cDoYouExitTitle),
//     ...});
// Read the text when it is shown, not at start-up: the chosen language is loaded after the windows
// are created. "%s" marks are filled by the caller. Where 8-bit text is unavoidable (registry
// values, shortcut names through ANSI calls), convert at that edge with System::WideToAnsi.
// Code that wants its texts handed in (a test in another language, say) takes a
// `const i18n::TUIStrings&` and reads `strings[i18n::cDoYouExit]`.
//
// Adding an entry: add its key at the end of UIString below and a row with the same key name and
// its English default at the same position in the table of ui_strings.cpp. The position is the
// order of the entry in every exported language file, so new entries go after those translators
// know; the English language file of the tests changes with it. Keys differ from each other not
// only in case.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "i18n/localization_strings.h"

namespace tolva::i18n {

// The keys, in table order. The names are the keys of the language file.
enum UIString : uint16_t {
    cName,
    cOldName,
    cDoYouExit,
    cDoYouExitTitle,
    UninstallDesc,
    cTolvaWebmail,
    cTolvaWebmail2,
    cTolvaWebAdmin,
    LinkDesc,  // one shortcut caption per line, lines joined by CR LF
    TolvaSMTPLinkDesc,
    TolvaPOP3LinkDesc,
    TolvaControlLinkDesc,
    TolvaIMLinkDesc,
    TolvaGWLinkDesc,
    ServerDesktopTitle,
    cSetup,
    cInstallQ,
    cInstallLicenseQ,
    cDownloadingFiles,
    cUnInstallQ,
    cComplete,
    cCompleteRemove,
    cInternet,
    cNotRunning,
    cTutorialCaption,
    cInformation,
    cError,
    cErrorDir,
    cErrorFile,
    cErrorDataFile,
    cServiceError,
    cRegistryError,
    cErrorText,
    cQuestion,
    cNewerVersion,
    cExtractingFiles,
    cInstalling,
    cStarting,
    cFinishing,
    cUnInstalling,
    cStopping,
    cChecking,
    cFinished,
    cInstallFiles,
    cInstallingAV,
    cCreatingIcons,
    cInstallingWeb,
    cYes,
    cNo,
    cBack,
    cNext,
    cCancel,
    cInstallC,
    cPSetup,
    cFinish,
    cSLA,
    cCredentials,
    cStartCopyingFiles,
    cInstallingFiles,
    cUpdateSetup,
    cSetupType,
    cComponentSetup,
    cSetupFinished,
    DemoMsgSubject,
    DemoMsg,
    cDownloadError,
    cDownloadErrorMove,
    cDownloadErrorVersion,
    WPrimaryDomain,
    WHostName,
    WAdministrator,
    WWizardComplete,
    // The components tree's node captions by depth-first position, 0 to 14 (see tree_captions.h).
    // The names do not describe the node at their position: MConsole holds position 1.
    MEngine,
    MConsole,
    MDesktopIcon,
    MQuickLaunch,
    MWebmail,
    MAntispam,
    MAvast,
    MGW,
    MIM,
    MLDAP,
    MWizards,
    MASpell,
    MAdministration,
    MModules,
    MAddOns,
    // This installer's own texts, after the table translators know, so that an exported file keeps
    // its order.
    cUninstallRefused,
    cAlreadyRunning,
    cFolderNotExist,
    cDatabaseFieldReserved,
};

inline constexpr size_t kUIStringCount = static_cast<size_t>(cDatabaseFieldReserved) + 1;
inline constexpr size_t kTreeCaptionCount = static_cast<size_t>(MAddOns - MEngine) + 1;

// The key as the language file spells it ("cDoYouExit"; the file holds it in lower case).
std::string_view UIStringKey(UIString key);
// The English text of the entry.
std::u16string_view UIStringDefault(UIString key);

// One set of values of the table, starting in English.
class TUIStrings {
public:
    TUIStrings();

    const std::u16string& operator[](UIString key) const { return values_[key]; }
    std::u16string& operator[](UIString key) { return values_[key]; }

private:
    std::array<std::u16string, kUIStringCount> values_;
};

// The values setup.exe shows.
TUIStrings& UIStrings();
// A text of setup.exe in the language in use.
inline const std::u16string& Text(UIString key) {
    return UIStrings()[key];
}

// Enters every entry of the table, in table order, in the registry, pointing at the values.
void RegisterUIStringTable(TUIStrings& strings, TLocalizationStrings& registry);

}  // namespace tolva::i18n

#include "i18n/ui_strings.h"

namespace tolva::i18n {

namespace {

struct Row {
    UIString key;
    std::string_view name;
    std::u16string_view english;
};

// Row i holds key i (checked below). The tree captions are those of the components tree as it is
// built in English.
constexpr Row kTable[] = {
    {cName, "cName", u"Corvane Tolva Mail Server"},
    {cOldName, "cOldName", u"Tolva Mail Server"},
    {cDoYouExit, "cDoYouExit", u"Do you wish to cancel this installation?"},
    {cDoYouExitTitle, "cDoYouExitTitle", u"Exit Setup"},
    {UninstallDesc, "UninstallDesc", u"Uninstall"},
    {cTolvaWebmail, "cTolvaWebmail", u"WebMail Lune"},
    {cTolvaWebmail2, "cTolvaWebmail2", u"WebMail Velo"},
    {cTolvaWebAdmin, "cTolvaWebAdmin", u"WebAdmin"},
    {LinkDesc, "LinkDesc",
     u"Administration\r\nReadme\r\nHelp\r\nDNS Query Tool\r\nQuick Start\r\nWebMail Velo Guide"},
    {TolvaSMTPLinkDesc, "TolvaSMTPLinkDesc", u"Start SMTP Service"},
    {TolvaPOP3LinkDesc, "TolvaPOP3LinkDesc", u"Start POP3 / IMAP Service"},
    {TolvaControlLinkDesc, "TolvaControlLinkDesc", u"Start Control / HTTP Service"},
    {TolvaIMLinkDesc, "TolvaIMLinkDesc", u"Start IM / VoIP Service"},
    {TolvaGWLinkDesc, "TolvaGWLinkDesc", u"Start GroupWare Service"},
    {ServerDesktopTitle, "ServerDesktopTitle", u"Corvane Server Administration"},
    {cSetup, "cSetup", u"%s Setup"},
    {cInstallQ, "cInstallQ", u"This will install %s. Do you wish to continue?"},
    {cInstallLicenseQ, "cInstallLicenseQ",
     u"By installing this software you agree with the software license agreement. Do you wish to "
     u"continue?"},
    {cDownloadingFiles, "cDownloadingFiles", u"Downloading Files..."},
    {cUnInstallQ, "cUnInstallQ",
     u"Are you sure to completely remove all files and components of this program?"},
    {cComplete, "cComplete", u"The setup of %s is complete."},
    {cCompleteRemove, "cCompleteRemove",
     u"Uninstall completed. Some elements could not be removed. You should manually remove the "
     u"items from the directory."},
    {cInternet, "cInternet", u"Is this computer connected to the Internet now?"},
    {cNotRunning, "cNotRunning",
     u"The following service(s) could not be started:\r\n%s\r\nThere must be already running some "
     u"other service(s) on the same TCP/IP port(s). Please, make sure no other SMTP or POP3 "
     u"servers are running (including MS SMTP and Norton POP3)."},
    {cTutorialCaption, "cTutorialCaption", u"Installation Wizard"},
    {cInformation, "cInformation", u"Information"},
    {cError, "cError", u"Error"},
    {cErrorDir, "cErrorDir", u"Directory could not be created: "},
    {cErrorFile, "cErrorFile",
     u"An error occured while copying file '%s'.\r\n%s\r\nDo you want to retry or cancel the "
     u"installation?"},
    {cErrorDataFile, "cErrorDataFile", u"Extracting files error: data file error"},
    {cServiceError, "cServiceError", u"Service error: "},
    {cRegistryError, "cRegistryError", u"Registry error: "},
    {cErrorText, "cErrorText",
     u"\r\nThere might be already some service running on the same TCP/IP port. Make sure MS SMTP, "
     u"Norton Antivirus POP3 or some other mail server is not running on this machine."},
    {cQuestion, "cQuestion", u"Question"},
    {cNewerVersion, "cNewerVersion",
     u"There is new %s %s version on the Internet. It is suggested to download and use the latest "
     u"version instead. Do you want to download it now?"},
    {cExtractingFiles, "cExtractingFiles", u"Extracting Files..."},
    {cInstalling, "cInstalling", u"Installing Services..."},
    {cStarting, "cStarting", u"Starting Services..."},
    {cFinishing, "cFinishing", u"Finishing Installation..."},
    {cUnInstalling, "cUnInstalling", u"Removing Services..."},
    {cStopping, "cStopping", u"Stopping Services..."},
    {cChecking, "cChecking", u"Checking For Running Services..."},
    {cFinished, "cFinished", u"Installation Complete"},
    {cInstallFiles, "cInstallFiles", u"Installing Files..."},
    {cInstallingAV, "cInstallingAV", u"Installing Antivirus Engine..."},
    {cCreatingIcons, "cCreatingIcons", u"Creating Icons..."},
    {cInstallingWeb, "cInstallingWeb", u"Installing WebMail..."},
    {cYes, "cYes", u"&Yes"},
    {cNo, "cNo", u"&No"},
    {cBack, "cBack", u"< &Back"},
    {cNext, "cNext", u"&Next >"},
    {cCancel, "cCancel", u"&Cancel"},
    {cInstallC, "cInstallC", u"&Install"},
    {cPSetup, "cPSetup", u"%s %s Setup"},
    {cFinish, "cFinish", u"&Finish"},
    {cSLA, "cSLA", u"Software License Agreement"},
    {cCredentials, "cCredentials", u"User/Company Details"},
    {cStartCopyingFiles, "cStartCopyingFiles", u"Start The Installation Process"},
    {cInstallingFiles, "cInstallingFiles", u"Installing"},
    {cUpdateSetup, "cUpdateSetup", u"Upgrade Setup."},
    {cSetupType, "cSetupType", u"Setup Type"},
    {cComponentSetup, "cComponentSetup", u"Components To Install"},
    {cSetupFinished, "cSetupFinished", u"Setup Complete"},
    {DemoMsgSubject, "DemoMsgSubject", u"Demonstration message"},
    {DemoMsg, "DemoMsg", u"Demonstration message"},
    {cDownloadError, "cDownloadError",
     u"Could not download file %s from the Internet.\r\nPlease, check your Internet connection and "
     u"make sure the URL %s is working properly."},
    {cDownloadErrorMove, "cDownloadErrorMove",
     u"Could not move downloaded file %s. Please, check your directory rights."},
    {cDownloadErrorVersion, "cDownloadErrorVersion",
     u"The setup version %s does not match the version %s of the remote components on the server. "
     u"Please, download the latest setup."},
    {WPrimaryDomain, "WPrimaryDomain", u"Primary Domain"},
    {WHostName, "WHostName", u"Host Name"},
    {WAdministrator, "WAdministrator", u"Administrator"},
    {WWizardComplete, "WWizardComplete", u"Wizard Complete"},
    {MEngine, "MEngine", u"Services and core files"},
    {MConsole, "MConsole", u"Administration"},
    {MDesktopIcon, "MDesktopIcon", u"Administration interface"},
    {MQuickLaunch, "MQuickLaunch", u"Desktop icon"},
    {MWebmail, "MWebmail", u"Quick launch icon"},
    {MAntispam, "MAntispam", u"Modules"},
    {MAvast, "MAvast", u"Webmail"},
    {MGW, "MGW", u"Anti-Spam"},
    {MIM, "MIM", u"Anti-Virus"},
    {MLDAP, "MLDAP", u"GroupWare"},
    {MWizards, "MWizards", u"Instant Messaging / VoIP"},
    {MASpell, "MASpell", u"LDAP"},
    {MAdministration, "MAdministration", u"Add-ons"},
    {MModules, "MModules", u"ASpell"},
    {MAddOns, "MAddOns", u"Wizards"},
    {cUninstallRefused, "cUninstallRefused",
     u"The folder %s is not an installation folder. Nothing was removed."},
    {cAlreadyRunning, "cAlreadyRunning",
     u"Setup is already running. Please wait until it has finished before starting it again."},
    {cFolderNotExist, "cFolderNotExist",
     u"The Folder:\r\n\r\n'%s'\r\n\r\ndoes not exist. Do you want the folder to be created?"},
    {cDatabaseFieldReserved, "cDatabaseFieldReserved",
     u"%s must not hold \";\" or \"|\": the database connection separates its values with them."},
};

constexpr bool RowsInKeyOrder() {
    if (std::size(kTable) != kUIStringCount) {
        return false;
    }
    for (size_t i = 0; i < std::size(kTable); ++i) {
        if (kTable[i].key != i) {
            return false;
        }
    }
    return true;
}
static_assert(RowsInKeyOrder(), "the table needs one row per key, in key order");

}  // namespace

std::string_view UIStringKey(UIString key) {
    return kTable[key].name;
}

std::u16string_view UIStringDefault(UIString key) {
    return kTable[key].english;
}

TUIStrings::TUIStrings() {
    for (const Row& row : kTable) {
        values_[row.key] = row.english;
    }
}

TUIStrings& UIStrings() {
    static TUIStrings strings;
    return strings;
}

void RegisterUIStringTable(TUIStrings& strings, TLocalizationStrings& registry) {
    for (const Row& row : kTable) {
        RegisterLocalizedString(row.name, strings[row.key], registry);
    }
}

}  // namespace tolva::i18n

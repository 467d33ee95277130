#include "setup/deployment.h"

#include <array>
#include <vector>

#include "archive/delete_folder_tree.h"
#include "archive/extract_archive.h"
#include "i18n/ui_strings.h"
#include "util/version.h"

namespace tolva::setup {

namespace {

constexpr std::array<std::string_view, 4> kLegacyConfigurationFiles = {"cert.pem", "cert.dat",
                                                                       "default.ini", "db.ini"};
constexpr std::array<std::string_view, 6> kMainArchiveTrees = {"doc\\", "modules\\",  "html\\",
                                                               "api\\", "examples\\", "xml\\"};
// Anti-virus engines installed by versions before this one are removed and installed afresh.
constexpr std::string_view kFreshAntivirusVersion = "8.2.7";

bool IsPackageArchive(std::string_view name) {
    for (const TModuleItem& row : kPackageTable) {
        for (const TPackageItem& package : GetPackages(row.Key)) {
            if (package.FileName == name) {
                return true;
            }
        }
    }
    return false;
}

// Rule files of the anti-spam engine that each release replaces: names beginning with 1 to 6.
bool IsNumberedRuleFile(std::string_view name) {
    return !name.empty() && name.front() >= '1' && name.front() <= '6';
}

std::string WithoutTrailingBackslash(std::string folder) {
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder;
}

}  // namespace

std::string ArchivePath(const platform::FileSystem& files, const DeploymentState& state,
                        std::string_view name) {
    std::string besideSetup = state.SetupFolder + std::string(name);
    if (!files.FileExists(besideSetup) && IsPackageArchive(name)) {
        std::string fetched = state.ExtractDir + std::string(name);
        if (files.FileExists(fetched)) {
            return fetched;
        }
    }
    return besideSetup;
}

bool ArchiveAvailable(const platform::FileSystem& files, const DeploymentState& state,
                      std::string_view name) {
    return files.FileExists(ArchivePath(files, state, name));
}

std::function<void(uint64_t, uint64_t)> MessagesWhileExtracting(DeploymentProgress& progress) {
    constexpr uint64_t kStride = 128 * 1024;
    return [&progress, last = uint64_t(0)](uint64_t done, uint64_t total) mutable {
        if (done - last >= kStride || (done == total && last != total)) {
            last = done;
            progress.ProcessPendingMessages();
        }
    };
}

Deployment::Deployment(const platform::Platform& platform, const DeploymentState& state,
                       util::SetupLogSink& log, util::SetupAbort& abort,
                       DeploymentProgress& progress, ProcessEnd& processEnd, DeploymentCalls& calls)
    : files_(*platform.files),
      system_(*platform.system),
      state_(state),
      abort_(abort),
      progress_(progress),
      calls_(calls),
      copier_(*platform.files, *platform.dialogs, *platform.system, log, progress, processEnd),
      install_(state.InstallDir),
      extract_(state.ExtractDir) {}

bool Deployment::Extract(std::string_view archive, std::string_view destination, bool overwrite) {
    archive::ExtractReport report;
    report.progress = MessagesWhileExtracting(progress_);
    int resultCode = 0;
    return archive::ExtractArchive(files_, ArchivePath(files_, state_, archive), destination,
                                   resultCode, overwrite, "", "", "", &report);
}

bool Deployment::ExtractOrAbort(std::string_view archive, std::string_view destination) {
    if (Extract(archive, destination, true)) {
        return true;
    }
    abort_.Abort(i18n::Text(i18n::cErrorDataFile) + u" " + system_.AnsiToWide(archive), u"");
    return false;
}

bool Deployment::DeployFiles(bool adminOnly) {
    progress_.SetProgressText(i18n::Text(i18n::cInstallFiles));
    if (const platform::Status created = files_.CreateFolders(install_); !created) {
        abort_.Abort(
            i18n::Text(i18n::cErrorDir) + system_.AnsiToWide(system_.ErrorText(created.code())),
            u"");
        return false;
    }
    return adminOnly ? DeployAdminOnly() : DeployFull();
}

bool Deployment::DeployAdminOnly() {
    return ExtractOrAbort(kAdministrationArchive, install_);
}

bool Deployment::DeployFull() {
    CreateInstallationFolders();
    CopySetupDocuments();
    if (!CopyProgramFiles()) {
        return false;
    }
    MoveLegacyConfiguration();
    if (!CopyCertificate() || !CopyMainArchiveTrees() || !DeployAntiSpam() || !DeployGroupWare()) {
        return false;
    }
    progress_.StepProgress();
    if (!DeployAntivirus()) {
        return false;
    }
    CopyDocuments();
    (void)files_.WriteWholeFile(install_ + "control.exe.local", "");
    if (!copier_.CopyOneFile("releasenotes.txt", state_.SetupFolder, install_ + "doc\\")) {
        return false;
    }
    FillWebServerTemplate();
    // The uninstall entry points at this copy.
    if (!copier_.CopyOneFile(state_.SetupProgram, state_.SetupFolder, install_)) {
        return false;
    }
    DeployPhp();
    DeployLdap();
    DeployAddOns();
    progress_.StepProgress();
    progress_.SetProgressText(i18n::Text(i18n::cInstallingWeb));
    if (!DeployWebmail()) {
        return false;
    }
    ApplyFinalArchives();
    return true;
}

void Deployment::CreateInstallationFolders() {
    progress_.SetProgressText(i18n::Text(i18n::cInstallFiles));
    for (const char* folder : {"config\\", "xml\\", "doc\\"}) {
        (void)files_.CreateFolders(install_ + folder);
    }
}

void Deployment::CopySetupDocuments() {
    if (files_.FileExists(state_.InfoXmlFile)) {
        (void)files_.CopyOver(state_.InfoXmlFile, install_ + "xml\\info.xml");
    }
    if (files_.FileExists(state_.LanguageFile)) {
        (void)files_.CopyOver(state_.LanguageFile, install_ + "setup.lng");
    }
}

// What the main archive brought into the extraction folder is deployed once: moved into the
// installation rather than copied, where the folders share a volume.
bool Deployment::CopyProgramFiles() {
    for (std::string_view program : kCoreProgramFiles) {
        if (!copier_.MoveOneFile(program, extract_, install_)) {
            return false;
        }
    }
    if (!copier_.MoveOneFile(kAutomationLibrary, extract_, install_)) {
        return false;
    }
    for (std::string_view program : {kInstantMessagingProgram, kGroupWareProgram}) {
        if (files_.FileExists(extract_ + std::string(program)) &&
            !copier_.MoveOneFile(program, extract_, install_)) {
            return false;
        }
    }
    return true;
}

void Deployment::MoveLegacyConfiguration() {
    for (std::string_view name : kLegacyConfigurationFiles) {
        const std::string old = install_ + std::string(name);
        if (files_.FileExists(old)) {
            // Refused when the configuration folder has the file already: both then stay.
            (void)files_.MoveTo(old, state_.ConfigDir() + std::string(name), false);
        }
    }
}

bool Deployment::CopyCertificate() {
    if (files_.FileExists(state_.ConfigDir() + "cert.pem")) {
        return true;
    }
    return copier_.MoveOneFile("cert.pem", extract_, state_.ConfigDir());
}

bool Deployment::CopyMainArchiveTrees() {
    for (std::string_view tree : kMainArchiveTrees) {
        if (!copier_.MoveTree(extract_, tree, install_)) {
            return false;
        }
    }
    return true;
}

bool Deployment::DeployAntiSpam() {
    if (state_.NoInstallIAS) {
        return true;
    }
    const std::string spam = PackageFolder(component_key::kAntiSpam);
    const std::string rules = spam + "rules\\";
    // Looked at before anything arrives: a new installation takes the extracted folder whole, and
    // only an installation that had rules already keeps the administrator's local.cf.
    const bool hadSpamFolder = files_.FolderExists(install_ + spam);
    const bool hadRules = files_.FolderExists(install_ + rules);
    if (!ExtractOrAbort(kAntiSpamArchive, extract_ + spam)) {
        return false;
    }
    // Each extracted file is moved once; what a step moved is no longer there for the next one.
    if (!hadSpamFolder && !copier_.MoveTree(extract_, spam, install_)) {
        return false;
    }
    if (!copier_.MoveTree(extract_, spam + "template\\", install_)) {
        return false;
    }
    if (!files_.FileExists(install_ + spam + "antispam.db") &&
        files_.FileExists(extract_ + spam + "antispam.db") &&
        !copier_.MoveOneFile("antispam.db", extract_ + spam, install_ + spam)) {
        return false;
    }
    std::vector<platform::FolderEntry> installed;
    if (hadRules && files_.ListFolder(install_ + rules, installed)) {
        for (const platform::FolderEntry& entry : installed) {
            if (!entry.isFolder && IsNumberedRuleFile(entry.name)) {
                (void)files_.SetNormalAttributes(install_ + rules + entry.name);
                (void)files_.RemoveFile(install_ + rules + entry.name);
            }
        }
        // The administrator's own rules survive the upgrade.
        (void)files_.RemoveFile(extract_ + rules + "local.cf");
    }
    if (!copier_.MoveTree(extract_, rules, install_)) {
        return false;
    }
    archive::DeleteFolderTree(files_, extract_ + spam);
    return true;
}

bool Deployment::DeployGroupWare() {
    if (state_.NoInstallCalendar) {
        return true;
    }
    const std::string calendar = "calendar\\";
    if (files_.FolderExists(install_ + calendar)) {
        if (!copier_.MoveOneFile("calendar.xml", extract_ + calendar, install_ + calendar) ||
            !copier_.MoveTree(extract_, calendar + "holidays\\", install_) ||
            !copier_.MoveTree(extract_, calendar + "doc\\", install_)) {
            return false;
        }
    } else if (!copier_.MoveTree(extract_, calendar, install_)) {
        return false;
    }
    if (!files_.FileExists(install_ + calendar + "groupware.db") &&
        files_.FileExists(extract_ + calendar + "groupware.db")) {
        return copier_.MoveOneFile("groupware.db", extract_ + calendar, install_ + calendar);
    }
    return true;
}

bool Deployment::DeployAntivirus() {
    if (state_.NoInstallAV) {
        return true;
    }
    progress_.SetProgressText(i18n::Text(i18n::cInstallingAV));
    const std::string avast = PackageFolder(component_key::kAntiVirus);
    if (!ExtractOrAbort(kAntiVirusArchive, extract_ + avast)) {
        return false;
    }
    if (files_.FolderExists(install_ + avast) &&
        util::IsVersionLower(state_.OldVersion, kFreshAntivirusVersion)) {
        archive::DeleteFolderTree(files_, install_ + avast);
    }
    if (calls_.LoadAntivirusLibrary(extract_ + avast)) {
        if (!files_.FileExists(install_ + avast + "setup\\setiface.dll")) {
            (void)calls_.InstallAntivirusEngine(WithoutTrailingBackslash(install_ + avast));
        }
        calls_.UnloadAntivirusLibrary();
    }
    if (calls_.LoadAntivirusLibrary(install_ + avast + "setup\\")) {
        (void)calls_.UpdateAntivirusEngine();
        calls_.UnloadAntivirusLibrary();
    }
    archive::DeleteFolderTree(files_, extract_ + avast);
    return true;
}

void Deployment::CopyDocuments() {
    (void)files_.CopyOver(state_.ReadmeFile, install_ + "doc\\readme.txt");
    (void)files_.CopyOver(state_.LicenseFile, install_ + "doc\\license.txt");
}

void Deployment::FillWebServerTemplate() {
    if (files_.FileExists(state_.ConfigDir() + "webserver.dat")) {
        return;
    }
    (void)winsys::FillTemplate(files_, "webserver.dat", extract_, state_.ConfigDir(),
                               winsys::MakeTemplateValues(system_, install_, state_.LogDir));
}

void Deployment::DeployPhp() {
    const std::string archive = ArchivePath(files_, state_, kPhpArchive);
    if (files_.FileExists(archive)) {
        calls_.DeployPhp(archive.substr(0, archive.size() - kPhpArchive.size()));
    }
}

void Deployment::DeployLdap() {
    const std::string ldap = install_ + PackageFolder(component_key::kLdap);
    if (!state_.IsSelected(component_key::kLdap) || files_.FolderExists(ldap)) {
        return;
    }
    (void)Extract(kLdapArchive, ldap, false);
    // The shell would tell the user about a script that is not there; a failed extraction is not.
    if (files_.FileExists(ldap + "create.bat")) {
        calls_.StartHidden(ldap + "create.bat", ldap);
    }
}

void Deployment::DeployAddOns() {
    if (state_.IsSelected(component_key::kWizards)) {
        (void)Extract(kWizardsArchive, install_ + PackageFolder(component_key::kWizards), false);
    }
    const bool spellChecker = state_.IsSelected(component_key::kASpell);
    if (spellChecker) {
        (void)Extract(kASpellArchive, install_ + PackageFolder(component_key::kASpell), false);
    }
    calls_.SetSpellChecking(spellChecker);
}

bool Deployment::DeployWebmail() {
    if (!state_.IsSelected(component_key::kWebmail)) {
        return true;
    }
    if (ArchiveAvailable(files_, state_, kLegacyWebmailArchive)) {
        const std::string extracted = extract_ + "webmail\\";
        if (!ExtractOrAbort(kLegacyWebmailArchive, extracted)) {
            return false;
        }
        (void)files_.CreateFolders(install_ + "webmail\\config\\");
        if (!copier_.MoveTree(extracted + "html\\", "", install_ + "html\\mail\\")) {
            return false;
        }
        archive::DeleteFolderTree(files_, extracted + "html\\");
        archive::DeleteFolderTree(files_, install_ + "webmail\\projects\\");
        if (!copier_.MoveTree(extracted, "", install_ + "webmail\\")) {
            return false;
        }
        archive::DeleteFolderTree(files_, extracted);
    }
    return ExtractOrAbort(kWebmailArchive, install_);
}

void Deployment::ApplyFinalArchives() {
    if (!state_.IsUpgrade && ArchiveAvailable(files_, state_, kFirstInstallArchive)) {
        (void)Extract(kFirstInstallArchive, install_, true);
    }
    // The last archive applied: its files win over all others.
    if (ArchiveAvailable(files_, state_, kCustomArchive)) {
        (void)Extract(kCustomArchive, install_, true);
    }
}

void Deployment::RemoveExcludedComponents() {
    if (state_.NoInstallIM) {
        (void)files_.RemoveFile(install_ + std::string(kInstantMessagingProgram));
    }
    if (state_.NoInstallCalendar) {
        (void)files_.RemoveFile(install_ + std::string(kGroupWareProgram));
    }
    if (state_.NoInstallAV) {
        archive::DeleteFolderTree(files_, install_ + PackageFolder(component_key::kAntiVirus));
    }
    if (state_.NoInstallIAS) {
        archive::DeleteFolderTree(files_, install_ + PackageFolder(component_key::kAntiSpam));
    }
}

}  // namespace tolva::setup

#include "setup/startup.h"

#include <exception>
#include <initializer_list>
#include <string_view>

#include "setup/command_line.h"
#include "setup/extraction_folder.h"
#include "setup/info_xml.h"
#include "setup/web_logon_address.h"
#include "upgrade/legacy_registry.h"
#include "util/folder_path.h"
#include "util/product.h"
#include "util/text.h"
#include "util/utf8.h"
#include "util/version.h"

namespace tolva::setup {
namespace {

using platform::DialogResult;
using platform::RegistryRoot;
using util::FillMarks;

constexpr char kExtractFolderName[] = "tolvainstall\\";
constexpr char kFallbackExtractFolderName[] = "temp\\";
constexpr char kConfigFolderName[] = "config\\";
constexpr char kAdvancedConsoleView[] = "advanced.xml";
// The first version whose webmail needs no upgrade note.
constexpr char kWebmailNoteBelow[] = "9.0.0-3";
constexpr char kWindowsVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr char kDefaultProgramFiles[] = "C:\\Program Files";
constexpr char kProductFolderName[] = "Tolva\\";

class Startup {
public:
    Startup(const StartupContext& context, SetupState& state)
        : c_(context), state_(state), system_(*context.platform.system) {}

    StartupOutcome Run() {
        if (c_.localization.LoadLanguage({}) == i18n::LanguageLoad::kEndRun) {
            return End();
        }
        state_.LanguageFile = c_.localization.LanguageFile();
        state_.ProductsXmlUrl.clear();
        state_.PreviousInstallDir.clear();
        state_.SetupEmail.clear();
        state_.AdvancedInterface = true;
        state_.InfoXmlFile = state_.SetupFolder + kInfoXmlName;
        ReadInfoXml(*c_.platform.files, system_, state_.InfoXmlFile, state_);
        state_.PageIndex = 0;
        state_.OldVersion.clear();
        state_.LogDir.clear();
        // Errors escaping event handlers are discarded by the application itself.
        const StartupOptions& options = c_.options;
        if (!options.dryRun) {
            upgrade::MigrateLegacyRegistry(*c_.platform.registry, false);
        }
        c_.pathRegistry.SetRegistryArea(kProductArea);
        c_.pathRegistry.SetRegistrySection(kProductSection);

        const StartSwitch startSwitch = StartSwitchOfRun();
        if (startSwitch != StartSwitch::kNone && startSwitch != StartSwitch::kSilent) {
            return End(RunSwitch(startSwitch));
        }
        state_.LicenseFile = state_.SetupFolder + "license.txt";
        state_.ReadmeFile = state_.SetupFolder + "readme.txt";
        if (!options.dryRun) {
            if (!MakeExtractionFolder()) {
                return StartupOutcome::kEnded;
            }
            if (!c_.localization.SelectLanguage(c_.languageDialog, state_.ExtractDir,
                                                state_.DefaultLanguage, state_.LicenseFile,
                                                state_.ReadmeFile)) {
                return End(options.languageRefusedExit);
            }
            state_.LanguageFile = c_.localization.LanguageFile();
        }
        ShowTitles();
        if (startSwitch != StartSwitch::kSilent && !options.dryRun && !UserWantsToInstall()) {
            return End();
        }
        state_.OldVersion = c_.pathRegistry.ReadSectionString("Version");
        ShowAgreement();
        const std::string found = FindEarlierInstallation();
        state_.InstallDir = found.empty() ? DefaultInstallDir() : found;
        c_.view.SetupPage();
        return StartupOutcome::kWizard;
    }

private:
    // A run of run switches has read its whole command line; any other looks at its first
    // argument.
    StartSwitch StartSwitchOfRun() const {
        if (!c_.options.runSwitches) {
            return FirstArgumentSwitch(c_.arguments);
        }
        return c_.options.uninstall ? StartSwitch::kUninstall
               : c_.options.silent  ? StartSwitch::kSilent
                                    : StartSwitch::kNone;
    }

    StartupOutcome End(int exitCode = kExitSuccess) {
        c_.processEnd.EndProcess(exitCode);
        return StartupOutcome::kEnded;
    }

    std::u16string Wide(std::string_view text) const { return system_.AnsiToWide(text); }

    platform::DialogResult Ask(const std::u16string& text) {
        return c_.platform.dialogs->ShowMessageBox(
            {text, FillMarks(c_.strings[i18n::cSetup], {Wide(kProductName)}),
             platform::DialogButtons::kYesNo, platform::DialogIcon::kQuestion, true});
    }

    // A switch run works on the installation the setup program belongs to and never shows the
    // wizard. Returns the run's exit code.
    int RunSwitch(StartSwitch startSwitch) {
        c_.settings.InitServerPaths();
        (void)c_.settings.LoadSettings(false, false);
        switch (startSwitch) {
            case StartSwitch::kUninstall:
                if (Ask(c_.strings[i18n::cUnInstallQ]) == DialogResult::kYes &&
                    c_.uninstall != nullptr && !c_.uninstall->RunUninstall()) {
                    return kExitInstallFailure;
                }
                break;
            case StartSwitch::kWebMailLogon:
            case StartSwitch::kWebMail2Logon:
            case StartSwitch::kWebAdminLogon:
                (void)c_.platform.shell->Open(WebLogonAddress(startSwitch, c_.settings), "");
                break;
            default:
                break;
        }
        return kExitSuccess;
    }

    // Made fresh here, before the languages are unpacked into it, and kept for the install
    // sequence: the chosen language's files in it are deployed from there.
    bool MakeExtractionFolder() {
        const std::string temp = system_.TempFolder();
        const std::string name = temp.empty()
                                     ? state_.SetupFolder + kFallbackExtractFolderName
                                     : util::WithTrailingBackslash(temp) + kExtractFolderName;
        platform::FileSystem& files = *c_.platform.files;
        state_.ExtractDir = MakeFreshExtractionFolder(files, name, state_.SetupFolder);
        if (!state_.ExtractDir.empty()) {
            return true;
        }
        const platform::Status created = files.CreateFolders(name);
        const uint32_t code = created ? platform::error::kAlreadyExists : created.code();
        c_.abort.Abort(c_.strings[i18n::cErrorDir] + Wide(system_.ErrorText(code)), u"");
        return false;
    }

    void ShowTitles() {
        const std::u16string title =
            FillMarks(c_.strings[i18n::cPSetup], {Wide(kProductName), Wide(kSetupVersion)});
        state_.SetupTitle = system_.WideToAnsi(title);
        c_.view.SetTitle(title);
        c_.view.FillWelcomeVersion(Wide(kSetupVersion));
    }

    bool UserWantsToInstall() {
        const std::u16string product = Wide(kProductName) + u" " + Wide(kSetupVersion);
        return Ask(FillMarks(c_.strings[i18n::cInstallQ], {product})) == DialogResult::kYes;
    }

    void ShowAgreement() {
        const platform::FileSystem& files = *c_.platform.files;
        std::string text;
        if (files.FileExists(state_.LicenseFile) &&
            files.ReadWholeFile(state_.LicenseFile, text).ok()) {
            c_.view.SetAgreementText(util::UTF8ToWide(text));
        }
    }

    // The folder of the earlier installation, empty when there is none. Whatever fails here leaves
    // the run a new installation into the default folder.
    std::string FindEarlierInstallation() {
        try {
            ReadComponentExclusions(c_.pathRegistry, state_);
            std::string folder = c_.pathRegistry.ReadSectionString("InstallDir");
            if (!folder.empty()) {
                folder = util::WithTrailingBackslash(folder);
                TakeEarlierInstallation(folder);
            }
            ShowUserDetails();
            return folder;
        } catch (const std::exception&) {
            return {};
        }
    }

    void TakeEarlierInstallation(const std::string& folder) {
        state_.PreviousInstallDir = folder;
        c_.settings.SetRootFolder(folder);
        c_.view.SetSetupTypeHeading(c_.strings[i18n::cUpdateSetup]);
        c_.view.DeselectShortcutIcons();
        c_.settings.UseConfigurationFolder(folder);
        if (c_.platform.files->FolderExists(folder + kConfigFolderName)) {
            // Without a settings.cfg the record keeps its relative default "logs", which would put
            // the setup log under whatever folder setup.exe was started in: the sequence then
            // takes the installation's logs folder instead.
            const std::string logPath = c_.settings.Record().LogPath();
            if (util::IsFullPath(logPath)) {
                state_.LogDir = logPath;
            }
            c_.view.HideInstallationMode();
        }
        state_.AdvancedInterface = c_.settings.Record().ConsoleViewFile() == kAdvancedConsoleView;
        if (!state_.OldVersion.empty() &&
            util::IsVersionLower(state_.OldVersion, kWebmailNoteBelow)) {
            c_.view.ShowWebmailNote(
                Wide(WebLogonAddress(StartSwitch::kWebMail2Logon, c_.settings)));
        }
    }

    void ShowUserDetails() {
        winsys::TAdvancedRegistry& product = c_.pathRegistry;
        c_.view.SetUserDetails(
            Wide(product.ReadSectionString("Name")), Wide(product.ReadSectionString("Email")),
            Wide(product.ReadSectionString("Company")), Wide(product.ReadSectionString("Country")));
    }

    std::string DefaultInstallDir() const {
        std::string programFiles;
        if (!c_.platform.registry
                 ->ReadString(RegistryRoot::kLocalMachine, kWindowsVersionKey, "ProgramFilesDir",
                              programFiles)
                 .ok() ||
            programFiles.empty()) {
            programFiles = kDefaultProgramFiles;
        }
        return util::WithTrailingBackslash(programFiles) + kProductFolderName;
    }

    const StartupContext& c_;
    SetupState& state_;
    const platform::System& system_;
};

struct Exclusion {
    const char* name;
    bool SetupState::*field;
};

constexpr Exclusion kExclusions[] = {
    {"NoInstallIM", &SetupState::NoInstallIM},
    {"NoInstallCalendar", &SetupState::NoInstallCalendar},
    {"NoInstallAV", &SetupState::NoInstallAV},
    {"NoInstallIAS", &SetupState::NoInstallIAS},
    {"NoInstallMail", &SetupState::NoInstallMail},
};

}  // namespace

StartupOutcome RunStartup(const StartupContext& context, SetupState& state) {
    return Startup(context, state).Run();
}

void ReadComponentExclusions(winsys::TAdvancedRegistry& productKey, SetupState& state) {
    for (const Exclusion& exclusion : kExclusions) {
        state.*exclusion.field = productKey.ReadSectionBool(exclusion.name);
    }
}

void WriteComponentExclusions(winsys::TAdvancedRegistry& productKey, const SetupState& state) {
    for (const Exclusion& exclusion : kExclusions) {
        (void)productKey.WriteSectionBool(exclusion.name, state.*exclusion.field);
    }
}

}  // namespace tolva::setup

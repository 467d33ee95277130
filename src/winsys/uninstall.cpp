#include "winsys/uninstall.h"

#include <utility>

#include "archive/delete_folder_tree.h"
#include "util/folder_path.h"
#include "util/text.h"
#include "winsys/antivirus_engine_library.h"
#include "winsys/com_registration.h"

namespace tolva::winsys {
namespace {

// Stopped control first: it serves the others' configuration.
constexpr int kStopOrder[] = {2, 0, 1, 3, 4};
constexpr uint32_t kSettleMs = 1500;
// What makes a folder an installation when the product key records none.
constexpr char kSettingsFile[] = "config\\settings.cfg";

constexpr const char* kProgramFiles[] = {
    "smtp.exe",     "pop3.exe",     "control.exe",    "config.exe",   "dnsquery.exe", "tool.exe",
    "sendmail.exe", "api.dll",      "libeay32.dll",   "libssl32.dll", "db.dll",       "regex.dll",
    "sqlite3.dll",  "libiconv.dll", "corvanecom.dll", "cal.exe",      "im.exe"};
constexpr const char* kFixedProgramFolders[] = {"modules\\",  "spam\\", "html\\", "api\\",
                                                "examples\\", "xml\\",  "php\\"};

// "C:\" or "\\server\share\".
bool IsRoot(std::string_view folder) {
    if (folder.size() == 3 && folder[1] == ':' && folder[2] == '\\') {
        return true;
    }
    if (folder.starts_with("\\\\")) {
        std::string_view rest = folder.substr(2);
        size_t server = rest.find('\\');
        return server == std::string_view::npos || rest.find('\\', server + 1) >= rest.size() - 1;
    }
    return false;
}

}  // namespace

Uninstall::Uninstall(const platform::Platform& platform, ServiceControlWindow& window,
                     SetupRegistries registries, UninstallFolders folders,
                     const i18n::TUIStrings& strings)
    : platform_(platform),
      window_(window),
      registries_(registries),
      folders_(std::move(folders)),
      strings_(strings),
      services_(platform, window, folders_.setupFolder, strings) {}

bool Uninstall::SetupFolderAllowed() const {
    const std::string& folder = folders_.setupFolder;
    if (folder.empty() || folder.back() != '\\' || IsRoot(folder)) {
        return false;
    }
    std::string programFiles64;
    (void)platform_.registry->ReadString(
        {platform::RegistryRoot::kLocalMachine, platform::RegistryView::k64Bit},
        "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", programFiles64);
    for (const std::string& refused :
         {platform_.system->WindowsFolder(),
          platform_.shell->FolderPath(platform::SpecialFolder::kProgramFiles), programFiles64}) {
        if (util::SameFolder(refused, folder)) {
            return false;
        }
    }
    TAdvancedRegistry& product = registries_.productKey;
    const std::string recorded =
        product.SectionExists() ? product.ReadSectionString("InstallDir") : std::string();
    if (!recorded.empty()) {
        return util::SameFolder(recorded, folder);
    }
    return platform_.files->FileExists(folder + kSettingsFile);
}

bool Uninstall::RunUninstall() {
    if (!SetupFolderAllowed()) {
        ShowBox(util::FillMarks(strings_[i18n::cUninstallRefused],
                                {platform_.system->AnsiToWide(folders_.setupFolder)}),
                strings_[i18n::cError], platform::DialogIcon::kError);
        return false;
    }
    StopPrograms();
    window_.ProcessPendingMessages();
    platform_.system->SleepFor(kSettleMs);
    services_.DeleteStoppedServices();
    RemoveShortcuts();
    TAdvancedRegistry& entry = registries_.uninstallEntry;
    (void)entry.DeleteRegistryKey(entry.SectionKey());
    // Unregistering needs the libraries, so before the files go.
    (void)UnregisterComServer(*platform_.automation, folders_.setupFolder + "api.dll");
    (void)UnregisterComServer(*platform_.automation, folders_.setupFolder + "corvanecom.dll");
    RemoveProgramFiles();
    RemoveProgramFolders();
    TAdvancedRegistry& product = registries_.productKey;
    (void)product.DeleteRegistryKey(product.SectionKey());
    ShowBox(strings_[i18n::cCompleteRemove], strings_[i18n::cInformation],
            platform::DialogIcon::kInformation);
    // What is left, for the user to remove by hand.
    (void)platform_.shell->Open(folders_.setupFolder, "", platform::ShowCommand::kNormal);
    return true;
}

void Uninstall::StopPrograms() {
    for (int index : kStopOrder) {
        const upgrade::ProgramState state = services_.GetSuiteServiceState(index);
        if (state.Runs(services_.Mode())) {
            (void)services_.StartStopService(index, false);
        }
    }
}

void Uninstall::RemoveShortcuts() {
    const platform::System& system = *platform_.system;
    // Where the installation made the group, also when the registry names no all-users folder.
    const std::string commonPrograms =
        AllUsersProgramsFolder(*platform_.shell, registries_.shellFolders);
    if (!commonPrograms.empty()) {
        archive::DeleteFolderTree(
            *platform_.files,
            GroupFolder(commonPrograms, system.WideToAnsi(strings_[i18n::cName])));
    }
    const std::string link =
        ShellItemName(system.WideToAnsi(strings_[i18n::ServerDesktopTitle])) + ".lnk";
    for (const std::string& folder : {GetDesktopFolder(*platform_.shell),
                                      GetQuickLaunchFolder(platform_, folders_.setupFolder)}) {
        if (!folder.empty()) {
            (void)platform_.files->RemoveFile(folder + link);
        }
    }
}

void Uninstall::RemoveProgramFiles() {
    for (const char* file : kProgramFiles) {
        (void)platform_.files->RemoveFile(folders_.setupFolder + file);
    }
}

void Uninstall::RemoveProgramFolders() {
    RemoveProgramFolder("doc\\");
    RemoveProgramFolder(folders_.wizardsFolder);
    RemoveProgramFolder(folders_.aspellFolder);
    for (const char* folder : kFixedProgramFolders) {
        RemoveProgramFolder(folder);
    }
    UninstallAntivirusEngine();
    RemoveProgramFolder(folders_.antivirusFolder);
}

void Uninstall::RemoveProgramFolder(std::string_view relative) {
    // An empty name would be the setup folder itself.
    if (!relative.empty()) {
        archive::DeleteFolderTree(*platform_.files, folders_.setupFolder + std::string(relative));
    }
}

void Uninstall::UninstallAntivirusEngine() {
    AntivirusEngineLibrary engine(*platform_.libraries);
    if (!engine.Load(folders_.rootFolder + folders_.antivirusFolder + "setup\\")) {
        return;
    }
    (void)engine.UninstallProgram();
    engine.Unload();
}

void Uninstall::ShowBox(std::u16string text, std::u16string caption, platform::DialogIcon icon) {
    platform::MessageBoxRequest box;
    box.text = std::move(text);
    box.caption = std::move(caption);
    box.buttons = platform::DialogButtons::kOk;
    box.icon = icon;
    box.taskModal = true;
    (void)window_.ShowMessageBox(box);
}

}  // namespace tolva::winsys

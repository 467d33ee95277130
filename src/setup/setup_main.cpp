// The program entry of setup.exe.

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "i18n/lang_select_form.h"
#include "net/http_download.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_platform.h"
#include "provisioning/odbc_form.h"
#include "provisioning/server_provisioning.h"
#include "provisioning/setup_wizard_form.h"
#include "setup/abort_box.h"
#include "setup/application_window.h"
#include "setup/browse_folder_form.h"
#include "setup/exit_codes.h"
#include "setup/folder_uninstall.h"
#include "setup/main_form.h"
#include "setup/main_form_startup.h"
#include "setup/process_end.h"
#include "setup/program_folder.h"
#include "setup/sequence_runner.h"
#include "setup/server_deployment_calls.h"
#include "setup/server_links.h"
#include "setup/setup_log.h"
#include "setup/setup_title.h"
#include "setup/single_instance.h"
#include "stores/settings_store.h"
#include "ui/application.h"
#include "ui/win32/win32_display.h"
#include "upgrade/task_messages.h"
#include "winsys/advanced_registry.h"
#include "winsys/setup_registry_keys.h"

namespace {

using namespace tolva;

class ExitingProcessEnd : public setup::ProcessEnd {
public:
    void EndProcess(int exitCode) override { ::ExitProcess(static_cast<UINT>(exitCode)); }
};

// The running program's folder with a trailing backslash and its file name, in the ANSI code page,
// and the folder as the system names it.
struct ProgramFile {
    std::string folder;
    std::string name;
    std::u16string wideFolder;
};

// In long names, like the temporary folder, whatever form the program was started by.
ProgramFile RunningProgram(const platform::System& system) {
    std::vector<wchar_t> path(32768);
    DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::vector<wchar_t> longPath(path.size());
    const DWORD longLength =
        ::GetLongPathNameW(path.data(), longPath.data(), static_cast<DWORD>(longPath.size()));
    if (longLength != 0 && longLength < longPath.size()) {
        path.swap(longPath);
        length = longLength;
    }
    const std::u16string wide(path.begin(), path.begin() + length);
    const size_t nameStart = wide.find_last_of(u'\\') + 1;
    return {system.WideToAnsi(wide.substr(0, nameStart)), system.WideToAnsi(wide.substr(nameStart)),
            wide.substr(0, nameStart)};
}

// The command line's arguments after the program's name, in the ANSI code page.
std::vector<std::string> ProgramArguments(const platform::System& system) {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (words == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        const std::wstring_view word(words[i]);
        arguments.push_back(system.WideToAnsi(std::u16string(word.begin(), word.end())));
    }
    ::LocalFree(words);
    return arguments;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything can load a DLL: setup.exe may run from a downloads folder with planted ones.
    platform::win32::RestrictDllSearchToSystemFolder();
    platform::Win32Platform platform;
    platform::Platform& services = platform.Services();
    std::unique_ptr<platform::InstanceClaim> setupInstance;
    if (!setup::ClaimSingleInstance(*services.processes, *services.dialogs, setupInstance)) {
        return setup::kExitAnotherInstance;
    }
    const ProgramFile program = RunningProgram(*services.system);
    if (!setup::AcceptProgramFolder(*services.dialogs, *services.system, program.wideFolder)) {
        return setup::kExitInstallFailure;
    }
    setup::ApplicationWindow applicationWindow;
    if (!applicationWindow.Create(instance, setup::kApplicationTitle)) {
        return 0;
    }
    ui::Win32Display display(instance, applicationWindow.Handle());
    // Errors that escape an event handler are discarded: the application has no sink for them.
    ui::Application application(display, services.system);
    setup::TDebugStruct log(*services.files, *services.system);
    ExitingProcessEnd processEnd;
    const std::string& setupFolder = program.folder;

    // The windows in the order the installer creates them; the first is the main window.
    setup::TMainForm mainForm(application, services, log, processEnd);
    mainForm.State.SetupFolder = setupFolder;
    setup::TBrowseFolder browser(application, services);
    const std::vector<std::string> arguments = ProgramArguments(*services.system);
    stores::SettingsStore settings(services, {arguments, setupFolder});
    provisioning::TODBCForm database(application, services, settings, setupFolder);
    provisioning::TSetupWizardForm wizard(application);
    i18n::TLangSelectForm languageDialog(application);

    provisioning::ServerProvisioning provisioning(wizard, *services.automation, *services.system);
    upgrade::TaskMessenger messenger(services);
    setup::DatabaseDialogLink databaseLink(database);
    setup::ServerFinishSteps finishSteps(provisioning, messenger, log);
    const HWND applicationHandle = applicationWindow.Handle();
    // The product key's registry component of the main window, and the others beside it.
    winsys::TAdvancedRegistry pathRegistry(*services.registry,
                                           platform::RegistryRoot::kLocalMachine);
    winsys::SetupRegistryKeys registryKeys(*services.registry, pathRegistry);
    setup::AbortBox abortBox(*services.dialogs, *services.system, log, processEnd);
    setup::ServerDeploymentCalls deploymentCalls(services, mainForm.State);
    net::HttpClient http(services);
    setup::SequenceRunner installRunner({services, mainForm, log, abortBox, processEnd,
                                         deploymentCalls, settings, http, registryKeys.Components(),
                                         program.name});
    setup::FolderUninstall uninstall(services, mainForm, registryKeys.Components(), settings,
                                     setupFolder);
    setup::MainFormStartup startup({application, services, mainForm, languageDialog, settings,
                                    pathRegistry, &uninstall, processEnd, abortBox, arguments,
                                    [applicationHandle](const std::u16string& title) {
                                        const std::wstring text(title.begin(), title.end());
                                        ::SetWindowTextW(applicationHandle, text.c_str());
                                    }});
    mainForm.SetLinks({.folderBrowser = &browser,
                       .databaseDialog = &databaseLink,
                       .installRunner = &installRunner,
                       .finishSteps = &finishSteps});

    // The wizard is shown only once the start-up has set it up: switch runs and declined starts
    // end inside the start-up and never show it.
    if (startup.RunStartup() == setup::StartupOutcome::kWizard) {
        application.Run();
    }
    return 0;
}

// The program entry of setup.exe.

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
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
#include "setup/quiet_dialogs.h"
#include "setup/run_switches.h"
#include "setup/scripted_run.h"
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
#include "util/utf8.h"
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

// The command line's arguments after the program's name.
std::vector<std::u16string> ProgramWords() {
    std::vector<std::u16string> words;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (argv == nullptr) {
        return words;
    }
    for (int i = 1; i < count; ++i) {
        const std::wstring_view word(argv[i]);
        words.emplace_back(word.begin(), word.end());
    }
    ::LocalFree(argv);
    return words;
}

// Where the program was started from: its standard output when that leads somewhere (a file, a
// pipe, Wine's terminal), else the console of the program that started it, if any.
class StartingConsole {
public:
    StartingConsole() {
        const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
        if (output != nullptr && output != INVALID_HANDLE_VALUE &&
            ::GetFileType(output) != FILE_TYPE_UNKNOWN) {
            output_ = output;
        } else if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
            owned_ = ::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
            output_ = owned_;
        }
    }
    ~StartingConsole() {
        if (owned_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(owned_);
        }
    }
    StartingConsole(const StartingConsole&) = delete;
    StartingConsole& operator=(const StartingConsole&) = delete;

    bool Present() const { return output_ != INVALID_HANDLE_VALUE; }

    // A console takes the text as UTF-16; a file or pipe as UTF-8.
    void WriteLine(std::string_view utf8) {
        DWORD mode = 0;
        DWORD written = 0;
        if (::GetConsoleMode(output_, &mode)) {
            const std::u16string wide = util::UTF8ToWide(utf8) + u"\r\n";
            ::WriteConsoleW(output_, wide.data(), static_cast<DWORD>(wide.size()), &written,
                            nullptr);
            return;
        }
        const std::string line = std::string(utf8) + "\r\n";
        ::WriteFile(output_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }

private:
    HANDLE output_ = INVALID_HANDLE_VALUE;
    HANDLE owned_ = INVALID_HANDLE_VALUE;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything can load a DLL: setup.exe may run from a downloads folder with planted ones.
    platform::win32::RestrictDllSearchToSystemFolder();
    platform::Win32Platform platform;
    platform::Platform& services = platform.Services();
    const platform::System& system = *services.system;
    std::vector<std::string> arguments;
    std::vector<std::string> switchArguments;
    for (const std::u16string& word : ProgramWords()) {
        arguments.push_back(system.WideToAnsi(word));
        switchArguments.push_back(util::WideToUTF8(word));
    }
    setup::TDebugStruct log(*services.files, system);
    // A run without the wizard shows no message box: each takes its default answer in the log.
    setup::QuietDialogs quietDialogs(log, system);
    if (setup::RunsWithoutQuestions(switchArguments)) {
        services.dialogs = &quietDialogs;
    }
    std::unique_ptr<StartingConsole> console;
    if (setup::StartsWithRunSwitch(switchArguments)) {
        console = std::make_unique<StartingConsole>();
    }

    const ProgramFile program = RunningProgram(system);
    setup::ApplicationWindow applicationWindow;
    if (!applicationWindow.Create(instance, setup::kApplicationTitle)) {
        return 0;
    }
    ui::Win32Display display(instance, applicationWindow.Handle());
    // Errors that escape an event handler are discarded: the application has no sink for them.
    ui::Application application(display, services.system);
    ExitingProcessEnd exit;
    // Every way the process ends passes through the run, which writes what a scripted run keeps.
    setup::ScriptedRun run({application, services, log, exit,
                            console && console->Present() ? std::function<void(std::string_view)>(
                                                                [&console](std::string_view line) {
                                                                    console->WriteLine(line);
                                                                })
                                                          : nullptr},
                           switchArguments);
    const std::string& setupFolder = program.folder;

    // The windows in the order the installer creates them; the first is the main window.
    setup::TMainForm mainForm(application, services, log, run);
    mainForm.State.SetupFolder = setupFolder;
    setup::TBrowseFolder browser(application, services);
    stores::SettingsStore settings(services, {arguments, setupFolder});
    provisioning::TODBCForm database(application, services, settings, setupFolder);
    provisioning::TSetupWizardForm wizard(application);
    i18n::TLangSelectForm languageDialog(application);

    provisioning::ServerProvisioning provisioning(wizard, *services.automation, *services.system);
    upgrade::TaskMessenger messenger(services);
    setup::DatabaseDialogLink databaseLink(database);
    provisioning::DatabaseConnectionTest databaseTest(*services.libraries, *services.dialogs,
                                                      system, setupFolder);
    setup::ConnectionTestProbe databaseProbe(databaseTest);
    setup::ServerFinishSteps finishSteps(provisioning, messenger, log);
    const HWND applicationHandle = applicationWindow.Handle();
    // The product key's registry component of the main window, and the others beside it.
    winsys::TAdvancedRegistry pathRegistry(*services.registry,
                                           platform::RegistryRoot::kLocalMachine);
    winsys::SetupRegistryKeys registryKeys(*services.registry, pathRegistry);
    setup::AbortBox abortBox(*services.dialogs, system, log, run);
    setup::ServerDeploymentCalls deploymentCalls(services, mainForm.State);
    net::HttpClient http(services);
    setup::SequenceRunner installRunner({services, mainForm, log, abortBox, run, deploymentCalls,
                                         settings, http, registryKeys.Components(), program.name});
    run.Attach({mainForm, settings, installRunner, databaseProbe, languageDialog});
    if (!run.Prepare()) {
        return setup::kExitInvalidCommandLine;
    }
    // Only once the run keeps its log and result: a scripted run refused here still leaves both.
    if (!setup::AcceptProgramFolder(*services.dialogs, system, program.wideFolder)) {
        run.EndProcess(setup::kExitInstallFailure);
        return setup::kExitInstallFailure;
    }
    std::unique_ptr<platform::InstanceClaim> setupInstance;
    if (!setup::ClaimSingleInstance(*services.processes, *services.dialogs, setupInstance)) {
        run.EndProcess(setup::kExitAnotherInstance);
        return setup::kExitAnotherInstance;
    }
    run.ShowProgress();
    setup::FolderUninstall uninstall(services, run, registryKeys.Components(), settings,
                                     setupFolder);
    setup::MainFormStartup startup({application, services, mainForm, run.Language(), settings,
                                    pathRegistry, &uninstall, run, abortBox, arguments,
                                    [applicationHandle](const std::u16string& title) {
                                        const std::wstring text(title.begin(), title.end());
                                        ::SetWindowTextW(applicationHandle, text.c_str());
                                    },
                                    run.Options()});
    mainForm.SetLinks({.folderBrowser = &browser,
                       .databaseDialog = &databaseLink,
                       .installRunner = &run,
                       .finishSteps = &finishSteps});

    // The wizard is shown only once the start-up and the command line's choices have set it up:
    // switch runs, declined starts and runs without the wizard end before.
    if (startup.RunStartup() == setup::StartupOutcome::kWizard && run.Continue()) {
        application.Run();
    }
    return 0;
}

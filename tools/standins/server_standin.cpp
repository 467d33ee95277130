// A stand-in for one of the suite's server programs, built once per program with its row of the
// service table. Started by the service manager it runs as that service; started any other way it
// shows the row's window. Either way it serves its task pipe (and the control program its web
// pages), and records in its log every start, stop, control and task message it receives.

#include <windows.h>
#include <winsock2.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/win32/win32_platform.h"
#include "standin_log.h"
#include "standin_servers.h"
#include "standin_settings.h"
#include "stores/settings_store.h"
#include "upgrade/service_table.h"

namespace {

using tolva::standins::StandinLog;
using tolva::standins::StandinSettings;

// The operating system's own SMTP service, for the case where it holds the suite's port.
constexpr tolva::upgrade::ServiceRow kSystemSmtpRow = {"smtpsvc.exe",
                                                       tolva::upgrade::kSystemSmtpService,
                                                       "Simple Mail Transfer Protocol (SMTP)",
                                                       "",
                                                       "SMTPSVCWindow",
                                                       "SMTPSVC"};

// TOLVA_STANDIN_INDEX: the service index, or kServiceCount for the system's SMTP service.
constexpr tolva::upgrade::ServiceRow kRow =
    TOLVA_STANDIN_INDEX < tolva::upgrade::kServiceCount
        ? tolva::upgrade::kServiceTable[TOLVA_STANDIN_INDEX % tolva::upgrade::kServiceCount]
        : kSystemSmtpRow;

constexpr UINT kTaskMessage = 1280;

std::wstring Wide(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());  // service names are plain ASCII
}

// The state of one run, as the service's threads and the window share it.
struct Run {
    std::wstring name;
    std::unique_ptr<StandinLog> log;
    StandinSettings settings;
    SERVICE_STATUS_HANDLE statusHandle = nullptr;
    SERVICE_STATUS status = {};
    HANDLE stopRequested = nullptr;
};

Run run;

void Begin(const std::wstring& name) {
    run.name = name;
    run.log = std::make_unique<StandinLog>(nullptr, name);
    run.settings = tolva::standins::ReadStandinSettings(name);
}

// The mail port the SMTP program answers on when its settings name none.
constexpr uint16_t kSmtpPort = 25;

// Takes the program's ports and serves its pipe; false when a port its settings name is taken.
// The SMTP program greets on the mail port; when another program holds that port, it runs
// without.
bool ServeAll() {
    const StandinSettings& settings = run.settings;
    const bool smtp = TOLVA_STANDIN_INDEX == tolva::upgrade::kSmtpService;
    if (settings.port != 0 && !(smtp ? tolva::standins::ServeSmtp(settings.port, *run.log)
                                     : tolva::standins::HoldPort(settings.port))) {
        run.log->Write("port " + std::to_string(settings.port) + " in use: not started");
        return false;
    }
    if (smtp && settings.port == 0 && !tolva::standins::ServeSmtp(kSmtpPort, *run.log)) {
        run.log->Write("smtp port " + std::to_string(kSmtpPort) + " in use: no greeting");
    }
    tolva::standins::ServeTaskPipe(run.name, *run.log);
    if (TOLVA_STANDIN_INDEX == tolva::upgrade::kControlService) {
        tolva::platform::Win32Platform platform;
        tolva::stores::SettingsStore store(platform.Services(), {{}, ""});
        std::wstring folder = tolva::standins::ModuleFolder(nullptr);
        store.SetRootFolder(Narrow(folder));
        store.InitServerPaths();
        store.LoadSettings(false, true);
        uint16_t port = store.Record().ControlHttpPort();
        bool served = tolva::standins::ServeHttp(port, *run.log);
        run.log->Write("http port " + std::to_string(port) + (served ? "" : " in use"));
    }
    return true;
}

void Report(DWORD state, DWORD exitCode = NO_ERROR, DWORD waitHint = 0) {
    run.status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    run.status.dwCurrentState = state;
    run.status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    run.status.dwWin32ExitCode = exitCode;
    run.status.dwWaitHint = waitHint;
    ++run.status.dwCheckPoint;
    ::SetServiceStatus(run.statusHandle, &run.status);
}

DWORD WINAPI ServiceControlHandler(DWORD control, DWORD, void*, void*) {
    switch (control) {
        case SERVICE_CONTROL_STOP:
            if (run.settings.refuseStop) {
                run.log->Write("control stop refused");
                return NO_ERROR;
            }
            run.log->Write("control stop");
            Report(SERVICE_STOP_PENDING, NO_ERROR, run.settings.stopDelayMs + 2000);
            ::SetEvent(run.stopRequested);
            return NO_ERROR;
        case SERVICE_CONTROL_INTERROGATE:
            return NO_ERROR;
        default:
            run.log->Write("control " + std::to_string(control));
            return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD argc, wchar_t** argv) {
    Begin(argc > 0 ? argv[0] : Wide(kRow.serviceName));
    run.log->Write("start service " + Narrow(run.name));
    run.statusHandle =
        ::RegisterServiceCtrlHandlerExW(run.name.c_str(), ServiceControlHandler, nullptr);
    if (run.statusHandle == nullptr) {
        run.log->Write("no control handler: error " + std::to_string(::GetLastError()));
        return;
    }
    run.stopRequested = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Report(SERVICE_START_PENDING, NO_ERROR, 5000);
    if (!ServeAll()) {
        Report(SERVICE_STOPPED, ERROR_SERVICE_SPECIFIC_ERROR);
        return;
    }
    if (run.settings.stayStartPending) {
        run.log->Write("staying start-pending");
    } else {
        Report(SERVICE_RUNNING);
        run.log->Write("running");
    }
    ::WaitForSingleObject(run.stopRequested, INFINITE);
    ::Sleep(run.settings.stopDelayMs);
    run.log->Write("stopped");
    Report(SERVICE_STOPPED);
}

// A program that stopped answering: its window's thread sleeps once, at the first message that
// asks it to do something.
void HangOnce() {
    static bool hung = false;
    if (run.settings.hangMs != 0 && !hung) {
        hung = true;
        run.log->Write("not answering");
        ::Sleep(run.settings.hangMs);
    }
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTaskMessage || message == WM_CLOSE) {
        HangOnce();
    }
    switch (message) {
        case kTaskMessage: {
            char line[128];
            std::snprintf(line, sizeof line, "window task message=%u code=%d argument=%d", message,
                          static_cast<int32_t>(wParam), static_cast<int32_t>(lParam));
            run.log->Write(line);
            return 1;
        }
        case WM_CLOSE:
            if (run.settings.ignoreClose) {
                run.log->Write("close ignored");
                return 0;
            }
            run.log->Write("close");
            ::DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

int RunApplication(HINSTANCE instance, int showCommand) {
    Begin(Wide(kRow.serviceName));
    run.log->Write("start application");
    if (!ServeAll()) {
        return 1;
    }
    std::wstring className = Wide(kRow.windowClass);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className.c_str();
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowW(className.c_str(), Wide(kRow.windowCaption).c_str(),
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 160,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        run.log->Write("no window: error " + std::to_string(::GetLastError()));
        return 1;
    }
    ::ShowWindow(window, showCommand);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    run.log->Write("stopped");
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    std::wstring name = Wide(kRow.serviceName);
    SERVICE_TABLE_ENTRYW table[] = {{name.data(), ServiceMain}, {nullptr, nullptr}};
    if (::StartServiceCtrlDispatcherW(table)) {
        return 0;
    }
    // Not started by the service manager: an ordinary program.
    return RunApplication(instance, showCommand);
}

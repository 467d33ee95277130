// The post-install wizard and the database dialog in real windows, for the Wine test that drives
// them with tests/wine/driver: the automation library in the installation folder is registered,
// the wizard is run, then the database dialog is shown twice (the first confirmed string switches
// the storage to the database), and the library is unregistered again.
//
//   provisioning_dialogs_check INSTALLATION_FOLDER\ CONNECTION REPORT
//
// The report (UTF-8) says what the run saw: the registration, each dialog's result.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <string>

#include "platform/win32/win32_platform.h"
#include "provisioning/odbc_form.h"
#include "provisioning/server_provisioning.h"
#include "provisioning/setup_wizard_form.h"
#include "stores/settings_store.h"
#include "ui/application.h"
#include "ui/win32/win32_display.h"
#include "util/setup_log_sink.h"
#include "util/utf8.h"

namespace {

using namespace tolva;

std::string Narrow(const wchar_t* text) {
    return util::WideToUTF8(std::u16string(text, text + std::wcslen(text)));
}

void WriteReport(const wchar_t* path, const std::string& report) {
    FILE* file = ::_wfopen(path, L"wb");
    if (file != nullptr) {
        std::fwrite(report.data(), 1, report.size(), file);
        std::fclose(file);
    }
}

// Lines of the setup log go into the report.
struct ReportLog : util::SetupLogSink {
    explicit ReportLog(std::string& into) : report(into) {}
    void Write(std::string_view message) override {
        report += "log " + std::string(message) + "\n";
    }
    std::string& report;
};

std::string Result(const std::optional<std::string>& connection) {
    return connection ? "confirmed " + *connection + "\n" : "cancelled\n";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (arguments == nullptr || count < 4) {
        return 64;
    }
    const std::string installFolder = Narrow(arguments[1]);
    const std::string connection = Narrow(arguments[2]);

    platform::Win32Platform platform;
    platform::Platform& services = platform.Services();
    ui::Win32Display display(instance, nullptr);
    ui::Application application(display, services.system);
    stores::SettingsStore settings(services);
    settings.SetRootFolder(installFolder);
    // Created in the order of the installer's start-up.
    provisioning::TODBCForm database(application, services, settings, installFolder);
    provisioning::TSetupWizardForm wizard(application);
    provisioning::ServerProvisioning provisioning(wizard, *services.automation, *services.system);

    const std::string library = installFolder + "corvanecom.dll";
    std::string report;
    const platform::Status registered = services.automation->RegisterServer(library, false);
    report += registered.ok() ? "registered\n" : "not registered: " + registered.what() + "\n";

    provisioning.RunPostInstallWizard();
    report += "wizard closed\n";
    const std::optional<std::string> confirmed = database.EditConnection(connection);
    report += Result(confirmed);
    if (confirmed) {
        ReportLog log(report);
        provisioning.SwitchToDatabaseStorage(*confirmed, log);
        report += "switched\n";
    }
    report += Result(database.EditConnection(confirmed.value_or(connection)));

    (void)services.automation->RegisterServer(library, true);
    WriteReport(arguments[3], report);
    ::LocalFree(arguments);
    return 0;
}

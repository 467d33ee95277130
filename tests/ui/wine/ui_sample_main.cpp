// The sample forms in real windows, for the Wine test that drives them with tests/wine/driver.
// When the main form has closed, the program writes what its model holds (the form as a user
// would read it, and every handler that ran) to the file named by its first argument.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "platform/win32/win32_platform.h"
#include "sample_form.h"
#include "ui/application.h"
#include "ui/form_snapshot.h"
#include "ui/win32/win32_display.h"
#include "util/utf8.h"

namespace {

void WriteReport(const wchar_t* path, const tolva::ui::sample::TSampleForm& form) {
    FILE* file = ::_wfopen(path, L"wb");
    if (file == nullptr) {
        return;
    }
    std::string report = tolva::util::WideToUTF8(tolva::ui::DescribeForm(form));
    report += "events\n";
    for (const std::string& line : form.EventLog()) {
        report += "  " + line + "\n";
    }
    std::fwrite(report.data(), 1, report.size(), file);
    std::fclose(file);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    tolva::platform::Win32Platform platform;
    tolva::ui::Win32Display display(instance, nullptr);
    tolva::ui::Application application(display, platform.Services().system);
    tolva::ui::sample::TSampleForm form(application, *platform.Services().dialogs);
    application.Run();
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (arguments != nullptr && count > 1) {
        WriteReport(arguments[1], form);
    }
    ::LocalFree(arguments);
    return 0;
}

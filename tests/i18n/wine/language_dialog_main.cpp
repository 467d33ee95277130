// The language selection in real windows, for the Wine test that drives it with
// tests/wine/driver: the languages of a setuplang.dat in the language dialog; after each choice
// the cancel question in the chosen language, then the dialog again, until the user cancels it.
//
//   lang_dialog_check SETUP_FOLDER\ EXTRACTION_FOLDER\ REPORT
//
// The report (UTF-8) says what the run saw: the code page, the languages offered, each choice
// with its documents, and the answers.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "i18n/control_translation.h"
#include "i18n/lang_select_form.h"
#include "i18n/localization.h"
#include "i18n/ui_strings.h"
#include "platform/win32/win32_platform.h"
#include "ui/application.h"
#include "ui/win32/win32_display.h"
#include "util/utf8.h"

namespace {

using namespace tolva;

std::string Narrow(const wchar_t* text) {
    return util::WideToUTF8(std::u16string(text, text + std::wcslen(text)));
}

std::string Offered(const i18n::TLangSelectForm& dialog) {
    std::string offered;
    for (const ui::ListItem& item : dialog.LangCombo->Items()) {
        offered += (offered.empty() ? "" : "|") + util::WideToUTF8(item.text);
    }
    return offered;
}

void WriteReport(const wchar_t* path, const std::string& report) {
    FILE* file = ::_wfopen(path, L"wb");
    if (file != nullptr) {
        std::fwrite(report.data(), 1, report.size(), file);
        std::fclose(file);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (arguments == nullptr || count < 4) {
        return 64;
    }
    const std::string setupFolder = Narrow(arguments[1]);
    const std::string extractDir = Narrow(arguments[2]);

    platform::Win32Platform platform;
    platform::Platform& services = platform.Services();
    ui::Win32Display display(instance, nullptr);
    ui::Application application(display, services.system);
    i18n::TLangSelectForm dialog(application);
    i18n::ControlTranslation forms(application, *services.system);
    i18n::Localization localization(*services.files, *services.system, setupFolder, false);
    localization.SetFormsTranslator(&forms);

    std::string report = "code page " + std::to_string(::GetACP()) + "\n";
    if (localization.LoadLanguage({}) != i18n::LanguageLoad::kContinue) {
        return 1;
    }
    for (;;) {
        std::string license = setupFolder + "license.txt";
        std::string readme = setupFolder + "readme.txt";
        const bool chosen = localization.SelectLanguage(dialog, extractDir, "", license, readme);
        report += "offered " + Offered(dialog) + "\n";
        if (!chosen) {
            report += "cancelled\n";
            break;
        }
        report += "chosen " + localization.LanguageFile() + "\nlicense " + license + "\nreadme " +
                  readme + "\n";
        const platform::DialogResult answer = services.dialogs->ShowMessageBox(
            {i18n::Text(i18n::cDoYouExit), i18n::Text(i18n::cDoYouExitTitle),
             platform::DialogButtons::kYesNo, platform::DialogIcon::kQuestion});
        report += answer == platform::DialogResult::kNo ? "answered no\n" : "answered yes\n";
    }
    WriteReport(arguments[3], report);
    ::LocalFree(arguments);
    return 0;
}

// The program entry of setup.exe.

#include <windows.h>

#include "platform/win32/delay_load_search.h"
#include "platform/win32/win32_platform.h"
#include "setup/application_window.h"
#include "setup/main_window.h"
#include "setup/setup_title.h"

namespace {

// No DLL may be loaded from the current folder, which may be a download folder with planted files;
// libraries setup needs from its own folder are loaded by full path, and the system DLLs that are
// not in the import table come from the system folder.
void HardenLibrarySearch() {
    ::SetDllDirectoryW(L"");
    tolva::platform::win32::LoadDelayedLibrariesFromSystemFolder();
}

int RunMessageLoop() {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    HardenLibrarySearch();
    tolva::setup::ApplicationWindow application;
    if (!application.Create(instance, tolva::setup::kApplicationTitle)) {
        return 0;
    }
    tolva::platform::Win32Platform platform;
    tolva::setup::MainWindow mainWindow(platform.Services());
    if (!mainWindow.Create(instance, application.Handle(), showCommand)) {
        return 0;
    }
    return RunMessageLoop();
}

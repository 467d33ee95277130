#pragma once
// The platform of a Windows run: every service real.

#include "platform/platform.h"
#include "platform/win32/network_win32.h"
#include "platform/win32/win32_automation.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_pipes.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_service_manager.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_windows.h"

namespace tolva::platform {

class Win32Platform {
public:
    Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Platform& Services() { return platform_; }

private:
    Win32FileSystem files_;
    Win32Registry registry_;
    Win32System system_;
    Win32Libraries libraries_;
    Win32Dialogs dialogs_;
    Win32Automation automation_;
    win32::Win32Network network_;
    Win32ServiceManager services_;
    Win32Windows windows_;
    Win32Pipes pipes_;
    Win32Processes processes_;
    Win32Shell shell_;
    Platform platform_;
};

}  // namespace tolva::platform

#include "platform/win32/win32_platform.h"

namespace tolva::platform {

Win32Platform::Win32Platform() {
    platform_.files = &files_;
    platform_.registry = &registry_;
    platform_.system = &system_;
    platform_.libraries = &libraries_;
    platform_.dialogs = &dialogs_;
    platform_.automation = &automation_;
    platform_.network = &network_;
    platform_.services = &services_;
    platform_.windows = &windows_;
    platform_.pipes = &pipes_;
    platform_.processes = &processes_;
    platform_.shell = &shell_;
}

}  // namespace tolva::platform

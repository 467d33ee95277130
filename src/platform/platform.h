#pragma once
// The bundle of system services passed down from the program entry; nothing reaches for a global.

#include "platform/automation.h"
#include "platform/desktop_windows.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/libraries.h"
#include "platform/network.h"
#include "platform/pipes.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/service_manager.h"
#include "platform/shell.h"
#include "platform/system.h"

namespace tolva::platform {

// Non-owning: whoever builds the bundle keeps the services alive for as long as it is used.
// Every bundle fills every service; where a platform has no such service, an implementation that
// says so on every call stands in (platform/unavailable/).
struct Platform {
    FileSystem* files = nullptr;
    Registry* registry = nullptr;
    System* system = nullptr;
    Libraries* libraries = nullptr;
    Dialogs* dialogs = nullptr;
    Network* network = nullptr;
    ServiceManager* services = nullptr;
    Shell* shell = nullptr;
    Windows* windows = nullptr;
    Pipes* pipes = nullptr;
    Processes* processes = nullptr;
    Automation* automation = nullptr;
};

}  // namespace tolva::platform

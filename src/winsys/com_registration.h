#pragma once
// Registering and unregistering a COM library through its own exports.

#include <string_view>

#include "platform/automation.h"

namespace tolva::winsys {

// RegisterComServer / UnregisterComServer: the library's DllRegisterServer or DllUnregisterServer.
// False when the library cannot be loaded, lacks the export or reports a failure.
bool RegisterComServer(platform::Automation& automation, std::string_view path);
bool UnregisterComServer(platform::Automation& automation, std::string_view path);

}  // namespace tolva::winsys

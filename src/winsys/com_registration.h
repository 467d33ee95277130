#pragma once
// Registering and unregistering a COM library through its own exports.

#include <string_view>

#include "platform/libraries.h"

namespace tolva::winsys {

// RegisterComServer / UnregisterComServer: loads the library at path, calls its
// DllRegisterServer or DllUnregisterServer and frees it. True when the call returned 0; false
// when the library cannot be loaded or lacks the export.
bool RegisterComServer(platform::Libraries& libraries, std::string_view path);
bool UnregisterComServer(platform::Libraries& libraries, std::string_view path);

}  // namespace tolva::winsys

#pragma once
// The addresses of the installed server's web pages that the web logon switches and the Finished
// page open.

#include <string>

#include "setup/command_line.h"
#include "stores/settings_store.h"

namespace tolva::setup {

// "http://" + the control service's host + ":" port (left out for port 80) + the switch's path:
// "/mail/", "/webmail/" or "/admin/"; no path for any other switch. Host and port come from the
// loaded settings.
std::string WebLogonAddress(StartSwitch webSwitch, const stores::SettingsStore& settings);

}  // namespace tolva::setup

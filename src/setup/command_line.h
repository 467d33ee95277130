#pragma once
// What the first command-line argument asks of a run of setup. Later arguments are never looked at
// (the language export switch, which any argument may carry, is the localization's).

#include <string>
#include <vector>

namespace tolva::setup {

enum class StartSwitch {
    kNone,           // an interactive run
    kSilent,         // "/SILENT": an interactive run without the start question
    kUninstall,      // "/UNINSTALL"
    kWebMailLogon,   // "/WEBMAILLOGON"
    kWebMail2Logon,  // "/WEBMAIL2LOGON"
    kWebAdminLogon,  // "/WEBADMINLOGON"
    kUnknown,        // anything else: the run ends without a window
};

// arguments: without the program's own name. Letter case does not matter; an empty first argument
// counts as none.
StartSwitch FirstArgumentSwitch(const std::vector<std::string>& arguments);

// The switch's own spelling ("/WEBMAIL2LOGON"); empty for kNone and kUnknown.
const char* SwitchName(StartSwitch startSwitch);

}  // namespace tolva::setup

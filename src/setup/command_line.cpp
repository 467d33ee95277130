#include "setup/command_line.h"

#include "util/text.h"

namespace tolva::setup {
namespace {

constexpr StartSwitch kNamedSwitches[] = {StartSwitch::kSilent, StartSwitch::kUninstall,
                                          StartSwitch::kWebMailLogon, StartSwitch::kWebMail2Logon,
                                          StartSwitch::kWebAdminLogon};

}  // namespace

StartSwitch FirstArgumentSwitch(const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments.front().empty()) {
        return StartSwitch::kNone;
    }
    for (StartSwitch named : kNamedSwitches) {
        if (util::SameText(arguments.front(), SwitchName(named))) {
            return named;
        }
    }
    return StartSwitch::kUnknown;
}

const char* SwitchName(StartSwitch startSwitch) {
    switch (startSwitch) {
        case StartSwitch::kSilent:
            return "/SILENT";
        case StartSwitch::kUninstall:
            return "/UNINSTALL";
        case StartSwitch::kWebMailLogon:
            return "/WEBMAILLOGON";
        case StartSwitch::kWebMail2Logon:
            return "/WEBMAIL2LOGON";
        case StartSwitch::kWebAdminLogon:
            return "/WEBADMINLOGON";
        case StartSwitch::kNone:
        case StartSwitch::kUnknown:
            break;
    }
    return "";
}

}  // namespace tolva::setup

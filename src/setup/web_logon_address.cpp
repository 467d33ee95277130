#include "setup/web_logon_address.h"

namespace tolva::setup {
namespace {

const char* WebPath(StartSwitch webSwitch) {
    switch (webSwitch) {
        case StartSwitch::kWebMailLogon:
            return "/mail/";
        case StartSwitch::kWebMail2Logon:
            return "/webmail/";
        case StartSwitch::kWebAdminLogon:
            return "/admin/";
        default:
            return "";
    }
}

}  // namespace

std::string WebLogonAddress(StartSwitch webSwitch, const stores::SettingsStore& settings) {
    std::string address = "http://" + settings.ControlServiceHost();
    const uint16_t port = settings.Record().ControlHttpPort();
    if (port != 80) {
        address += ":" + std::to_string(port);
    }
    return address + WebPath(webSwitch);
}

}  // namespace tolva::setup

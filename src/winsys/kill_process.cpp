#include "winsys/kill_process.h"

#include <string>
#include <vector>

#include "util/text.h"

namespace tolva::winsys {
namespace {

std::string WantedName(std::string_view executable) {
    std::string wanted = util::LowerCase(executable);
    size_t slash = wanted.find_last_of("\\/:");
    size_t dot = wanted.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        wanted += ".exe";
    }
    return wanted;
}

}  // namespace

bool KillProcessByName(platform::Processes& processes, std::string_view executable) {
    // Without the privilege the services' processes cannot even be read.
    (void)processes.EnablePrivilege("SeDebugPrivilege");
    std::vector<platform::ProcessInfo> running;
    if (!processes.List(running)) {
        return false;
    }
    std::string wanted = WantedName(executable);
    bool lastSucceeded = false;
    for (const platform::ProcessInfo& process : running) {
        if (util::LowerCase(process.baseName) == wanted) {
            lastSucceeded = processes.Terminate(process.id, 0).ok();
        }
    }
    return lastSucceeded;
}

}  // namespace tolva::winsys

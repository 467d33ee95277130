#include "setup/exit_codes.h"

#include "setup/preflight.h"

namespace tolva::setup {

std::string ExitCodeMeaning(int exitCode, bool check) {
    switch (exitCode) {
        case kExitSuccess:
            return check ? "ready" : "success";
        case kExitUserCancelled:
            return "cancelled by the user";
        case kExitInstallFailure:
            return "failed";
        case kExitAnotherInstance:
            return "another setup is running";
        case kExitInvalidCommandLine:
            return "invalid command line or answer file";
        default:
            break;
    }
    if (!check) {
        return exitCode == kExitNotHealthy ? "installed, but not healthy" : "unknown";
    }
    std::string meaning;
    const std::pair<int, const char*> problems[] = {
        {problem::kPortHeld, "a port is held by another program"},
        {problem::kDiskSpace, "not enough disk space"},
        {problem::kDatabase, "the database cannot be reached"},
    };
    for (const auto& [bit, text] : problems) {
        if ((exitCode & bit) != 0) {
            meaning += (meaning.empty() ? "" : "; ") + std::string(text);
        }
    }
    return meaning.empty() ? "unknown" : meaning;
}

}  // namespace tolva::setup

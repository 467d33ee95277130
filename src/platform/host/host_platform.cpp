#include "platform/host/host_platform.h"

namespace tolva::platform {

HostPlatform::HostPlatform(const std::string& root)
    : paths_(root), files_(paths_), system_(paths_), libraries_(paths_) {
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
    unavailable_.FillIn(platform_);
}

}  // namespace tolva::platform

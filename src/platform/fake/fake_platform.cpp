#include "platform/fake/fake_platform.h"

#include <string>

#include "platform/native_network.h"

namespace tolva::platform {

FakePlatform::FakePlatform() : network_(MakeNativeNetwork()) {
    platform_.files = &files_;
    platform_.registry = &registry_;
    platform_.system = &system_;
    platform_.libraries = &libraries_;
    platform_.dialogs = &dialogs_;
    platform_.automation = &automation_;
    platform_.network = network_.get();
    platform_.services = &services_;
    platform_.windows = &windows_;
    platform_.pipes = &pipes_;
    platform_.processes = &processes_;
    platform_.shell = &shell_;
    for (const std::string& folder : shell_.FolderPaths()) {
        (void)files_.CreateFolders(folder);
    }
}

}  // namespace tolva::platform

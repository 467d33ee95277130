#include "setup/folder_uninstall.h"

#include "setup/package_table.h"
#include "winsys/uninstall.h"

namespace tolva::setup {

bool FolderUninstall::RunUninstall() {
    // The root folder is known only once the start-up has read the installation's paths.
    winsys::Uninstall uninstall(platform_, window_, registries_,
                                {.setupFolder = setupFolder_,
                                 .rootFolder = settings_.RootFolder(),
                                 .wizardsFolder = PackageFolder(component_key::kWizards),
                                 .aspellFolder = PackageFolder(component_key::kASpell),
                                 .antivirusFolder = PackageFolder(component_key::kAntiVirus)});
    return uninstall.RunUninstall();
}

}  // namespace tolva::setup

#pragma once
// The main window's registry components for the shell folders and the uninstall entry, placed
// where the registration and the uninstall look, beside the product key the caller owns.

#include "platform/registry.h"
#include "winsys/advanced_registry.h"
#include "winsys/shortcuts.h"

namespace tolva::winsys {

struct SetupRegistryKeys {
    SetupRegistryKeys(platform::Registry& registry, TAdvancedRegistry& product)
        : shellFolders(registry, platform::RegistryRoot::kCurrentUser, kShellFoldersArea,
                       kShellFoldersSection),
          uninstallEntry(registry, platform::RegistryRoot::kLocalMachine, kUninstallArea,
                         kUninstallSection),
          productKey(product) {}

    SetupRegistries Components() { return {shellFolders, uninstallEntry, productKey}; }

    TAdvancedRegistry shellFolders;
    TAdvancedRegistry uninstallEntry;
    TAdvancedRegistry& productKey;
};

}  // namespace tolva::winsys

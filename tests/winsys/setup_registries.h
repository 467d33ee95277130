#pragma once
// The main window's three registry components over a machine in memory, placed as the main window
// places them, and the shell folders of a Windows machine in its registry and on its disk.

#include <string>
#include <tuple>

#include "fakes/suite_machine.h"
#include "winsys/setup_registry_keys.h"
#include "winsys/shortcuts.h"

namespace tolva::winsys {

inline constexpr char kUserPrograms[] = "C:\\Users\\Tester\\Start Menu\\Programs\\";
inline constexpr char kCommonPrograms[] = "C:\\ProgramData\\Start Menu\\Programs\\";
inline constexpr char kAppData[] = "C:\\Users\\Tester\\AppData\\Roaming\\";
inline constexpr char kQuickLaunch[] =
    "C:\\Users\\Tester\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\";
inline constexpr char kProductKey[] = "Software\\Corvane\\Tolva Mail Server";
inline constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolva";

struct MachineRegistries {
    explicit MachineRegistries(testing::SuiteMachine& machine)
        : productKey(machine.registry, platform::RegistryRoot::kLocalMachine, "\\Software\\Corvane",
                     "Tolva Mail Server"),
          keys(machine.registry, productKey) {
        const std::string key = std::string(kShellFoldersArea) + "\\" + kShellFoldersSection;
        for (const auto& [root, name, folder] :
             {std::tuple{platform::RegistryRoot::kCurrentUser, "Programs", kUserPrograms},
              std::tuple{platform::RegistryRoot::kCurrentUser, "AppData", kAppData},
              std::tuple{platform::RegistryRoot::kLocalMachine, "Common Programs",
                         kCommonPrograms}}) {
            (void)machine.registry.WriteString(root, key, name, folder);
            (void)machine.files.CreateFolders(folder);
        }
        (void)machine.files.CreateFolders(kQuickLaunch);
    }

    SetupRegistries Components() { return keys.Components(); }

    TAdvancedRegistry productKey;
    SetupRegistryKeys keys;
};

}  // namespace tolva::winsys

#pragma once
// The component archives an installation has to download first: those of the selected components
// that are not beside the setup program.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "setup/package_table.h"

namespace tolva::setup {

// By component key: the tree's node shows the selected state.
using ComponentSelection = std::array<bool, kComponentCount>;

// Only the administration interface is installed: "Services and core files" is deselected and
// "Administration interface" selected.
bool IsAdminOnlyInstall(const ComponentSelection& selected);

// The archives of the selected rows of the package table, in table order, that are missing in
// setupFolder. An administration-only installation keeps only setupconfig.dat of them; any other
// drops setupconfig.dat and adds the missing archives of "Services and core files", selected or
// not. Each name appears once.
std::vector<std::string> MissingArchives(const platform::FileSystem& files,
                                         std::string_view setupFolder,
                                         const ComponentSelection& selected);

}  // namespace tolva::setup

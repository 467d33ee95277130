#pragma once
// The ODBC data source names the system knows, for the DSN lists of the database dialog.

#include <string>
#include <vector>

#include "platform/registry.h"

namespace tolva::provisioning {

// The value names of "SOFTWARE\ODBC\ODBC.INI\ODBC Data Sources" under the machine's key
// (kLocalMachine) or the user's (kCurrentUser), sorted without regard to case; empty when the key
// cannot be read.
std::vector<std::string> ListOdbcDataSources(const platform::Registry& registry,
                                             platform::RegistryRoot root);

}  // namespace tolva::provisioning

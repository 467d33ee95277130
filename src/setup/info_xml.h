#pragma once
// The distribution settings of info.xml beside the setup program: the catalogue addresses, the
// preselected language, the footer text, extra mail recipients and the console view of a new
// installation.

#include <string_view>

#include "platform/file_system.h"
#include "platform/system.h"
#include "setup/setup_state.h"

namespace tolva::setup {

inline constexpr char kInfoXmlName[] = "info.xml";

// Reads the children of the document's first element into the state; a missing or unreadable
// file, and each missing element, leave their fields as they are.
void ReadInfoXml(const platform::FileSystem& files, const platform::System& system,
                 std::string_view path, SetupState& state);

}  // namespace tolva::setup

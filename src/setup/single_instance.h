#pragma once
// One setup program at a time on a machine: a second one started while the first runs would stop
// the services, extract into the same folder and write the same files under its feet.

#include <memory>

#include "platform/dialogs.h"
#include "platform/processes.h"

namespace tolva::setup {

// Machine-wide, so that a setup started in another user's session counts as well.
inline constexpr char kSetupInstanceName[] = "Global\\CorvaneTolvaMailServerSetup";

// Claims the run for this setup program; claim holds it until the program ends. False when
// another setup program holds it: the box "Setup is already running..." has been shown and the
// program ends with kExitAnotherInstance. A claim that fails for any other reason lets the run go
// on, since the installation does not depend on it.
bool ClaimSingleInstance(platform::Processes& processes, platform::Dialogs& dialogs,
                         std::unique_ptr<platform::InstanceClaim>& claim);

}  // namespace tolva::setup

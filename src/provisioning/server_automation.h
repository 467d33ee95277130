#pragma once
// The installer's uses of the server's automation objects. Each operation runs its calls in order
// and ends silently at the first failure (a missing library, a rejected value, a failed Save); no
// result of any call is used. The objects are released when the operation ends.

#include <string_view>

#include "platform/automation.h"
#include "platform/system.h"
#include "provisioning/post_install_wizard.h"
#include "util/setup_log_sink.h"

namespace tolva::provisioning {

inline constexpr std::string_view kApiObject = "CorvaneServer.APIObject";
inline constexpr std::string_view kDomainObject = "CorvaneServer.DomainObject";
inline constexpr std::string_view kAccountObject = "CorvaneServer.AccountObject";

// Creates the domain, makes it primary and sets the SMTP host name.
void CreatePrimaryDomain(platform::Automation& automation, const WizardValues& values);
// Creates the domain's administrator account.
void CreateDomainAdministrator(platform::Automation& automation, const WizardValues& values);
// Creates the account tables in the database of the connection string and switches the server's
// account storage to it; blocks for two pauses of 2000 ms. A failure writes one line to the setup
// log naming the step and the error, without the connection's passwords.
void SwitchToDatabaseStorage(platform::Automation& automation, platform::System& system,
                             std::string_view connection, util::SetupLogSink& log);

}  // namespace tolva::provisioning

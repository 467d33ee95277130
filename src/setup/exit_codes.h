#pragma once
// The exit codes of setup.exe, as scripts that run Windows Installer packages already test them.

#include <string>

namespace tolva::setup {

// A finished installation, a switch run, and a start the user declined before anything changed.
inline constexpr int kExitSuccess = 0;
// The user cancelled the running installation (ERROR_INSTALL_USEREXIT).
inline constexpr int kExitUserCancelled = 1602;
// The installation was aborted by an error (ERROR_INSTALL_FAILURE).
inline constexpr int kExitInstallFailure = 1603;
// Another setup.exe is running (ERROR_INSTALL_ALREADY_RUNNING).
inline constexpr int kExitAnotherInstance = 1618;
// A switch, an answer file or a choice in them is wrong; nothing was changed
// (ERROR_INVALID_COMMAND_LINE).
inline constexpr int kExitInvalidCommandLine = 1639;
// An unattended installation finished, but its services do not all run or SMTP does not greet.
inline constexpr int kExitNotHealthy = 8;
// The dry run's codes are the sum of the problems found (preflight.h): 1 a port of the suite is
// held by another program, 2 the target drive has too little space, 4 the database cannot be
// reached.

// What an exit code says, for people and for the result file; check: of a dry run.
std::string ExitCodeMeaning(int exitCode, bool check);

}  // namespace tolva::setup

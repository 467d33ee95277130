#pragma once
// The exit codes of setup.exe, as scripts that run Windows Installer packages already test them.

namespace tolva::setup {

// A finished installation, a switch run, and a start the user declined before anything changed.
inline constexpr int kExitSuccess = 0;
// The user cancelled the running installation (ERROR_INSTALL_USEREXIT).
inline constexpr int kExitUserCancelled = 1602;
// The installation was aborted by an error (ERROR_INSTALL_FAILURE).
inline constexpr int kExitInstallFailure = 1603;
// Another setup.exe is running (ERROR_INSTALL_ALREADY_RUNNING).
inline constexpr int kExitAnotherInstance = 1618;

}  // namespace tolva::setup

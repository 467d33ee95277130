#pragma once
// The steps of the web server, anti-virus and shell parts that the full deployment calls.

#include <string_view>

namespace tolva::setup {

class DeploymentCalls {
public:
    virtual ~DeploymentCalls() = default;

    // PHP from "setupphp.dat" in archiveFolder into the installation's php folder, keeping the
    // previous php.ini as php.ini.old.
    virtual void DeployPhp(std::string_view archiveFolder) = 0;
    // With the spell checker installed: its registration; without: its PHP extension switched
    // off in php.ini.
    virtual void SetSpellChecking(bool installed) = 0;

    // The anti-virus engine's setup library, "setiface.dll" in folder (with a trailing
    // backslash), loaded by full path. The calls report success; a failure is not reported to the
    // user.
    virtual bool LoadAntivirusLibrary(std::string_view folder) = 0;
    // Installs the engine into targetFolder (without a trailing backslash).
    virtual bool InstallAntivirusEngine(std::string_view targetFolder) = 0;
    // Updates the files of the engine the loaded library belongs to.
    virtual bool UpdateAntivirusEngine() = 0;
    virtual void UnloadAntivirusLibrary() = 0;

    // Opens the file through the shell with a hidden window and the working folder, without
    // waiting for it.
    virtual void StartHidden(std::string_view file, std::string_view workingFolder) = 0;
};

}  // namespace tolva::setup

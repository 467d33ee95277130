#pragma once
// The deployment's calls into the web server, anti-virus and shell parts, for real: PHP and the
// spell checker in the installation folder of the state, the anti-virus engine's setup library
// loaded by full path, and programs started through the shell.

#include "platform/platform.h"
#include "setup/deployment_calls.h"
#include "setup/setup_state.h"
#include "winsys/antivirus_engine_library.h"

namespace tolva::setup {

class ServerDeploymentCalls : public DeploymentCalls {
public:
    // The state's installation and log folders are read at each call.
    ServerDeploymentCalls(const platform::Platform& platform, const SetupState& state);

    void DeployPhp(std::string_view archiveFolder) override;
    void SetSpellChecking(bool installed) override;
    bool LoadAntivirusLibrary(std::string_view folder) override;
    bool InstallAntivirusEngine(std::string_view targetFolder) override;
    bool UpdateAntivirusEngine() override;
    void UnloadAntivirusLibrary() override;
    void StartHidden(std::string_view file, std::string_view workingFolder) override;

private:
    const platform::Platform& platform_;
    const SetupState& state_;
    winsys::AntivirusEngineLibrary antivirus_;
};

}  // namespace tolva::setup

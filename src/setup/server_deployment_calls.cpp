#include "setup/server_deployment_calls.h"

#include <string>

#include "winsys/config_template.h"
#include "winsys/php_setup.h"

namespace tolva::setup {
namespace {

winsys::PhpSetup PhpSetupOf(const platform::Platform& platform, const SetupState& state,
                            std::string_view archiveFolder) {
    return winsys::PhpSetup(
        platform, std::string(archiveFolder), state.InstallDir,
        winsys::MakeTemplateValues(*platform.system, state.InstallDir, state.LogDir));
}

}  // namespace

ServerDeploymentCalls::ServerDeploymentCalls(const platform::Platform& platform,
                                             const SetupState& state)
    : platform_(platform), state_(state), antivirus_(*platform.libraries) {}

void ServerDeploymentCalls::DeployPhp(std::string_view archiveFolder) {
    PhpSetupOf(platform_, state_, archiveFolder).DeployPhp();
}

void ServerDeploymentCalls::SetSpellChecking(bool installed) {
    PhpSetupOf(platform_, state_, state_.SetupFolder).SetSpellChecking(installed);
}

bool ServerDeploymentCalls::LoadAntivirusLibrary(std::string_view folder) {
    return antivirus_.Load(folder);
}

bool ServerDeploymentCalls::InstallAntivirusEngine(std::string_view targetFolder) {
    return antivirus_.InstallProgram(targetFolder);
}

bool ServerDeploymentCalls::UpdateAntivirusEngine() {
    return antivirus_.UpdateFiles();
}

void ServerDeploymentCalls::UnloadAntivirusLibrary() {
    antivirus_.Unload();
}

void ServerDeploymentCalls::StartHidden(std::string_view file, std::string_view workingFolder) {
    (void)platform_.processes->Launch(file, "", workingFolder, platform::ShowCommand::kHide);
}

}  // namespace tolva::setup

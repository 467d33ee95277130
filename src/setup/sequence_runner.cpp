#include "setup/sequence_runner.h"

#include "setup/install_sequence.h"
#include "setup/package_table.h"
#include "setup/startup.h"
#include "upgrade/program_state.h"
#include "winsys/registration.h"

namespace tolva::setup {

void SequenceRunner::RunInstallSequence() {
    selected_ = parts_.form.SelectedComponents();
    InstallSequence sequence({.platform = parts_.platform,
                              .state = parts_.form.State,
                              .window = window_ != nullptr ? *window_ : parts_.form,
                              .log = parts_.log,
                              .abort = parts_.abort,
                              .processEnd = parts_.processEnd,
                              .deploymentCalls = parts_.deploymentCalls,
                              .settings = parts_.settings,
                              .http = parts_.http,
                              .exclusions = *this,
                              .shortcuts = *this,
                              .setupProgram = parts_.setupProgram});
    (void)sequence.Run(selected_);
    health_ = sequence.Health();
}

void SequenceRunner::WriteComponentExclusions(const SetupState& state) {
    setup::WriteComponentExclusions(parts_.registries.productKey, state);
}

bool SequenceRunner::RegisterShortcutsAndEntries(const SetupState& state,
                                                 winsys::ServiceControlWindow& window) {
    const TMainForm& form = parts_.form;
    winsys::Registration input;
    input.installFolder = state.InstallDir;
    input.setupFolder = state.SetupFolder;
    input.setupProgramName = parts_.setupProgram;
    input.mode = upgrade::RunModeOf(parts_.platform.system->GetPlatformId());
    input.webmail = selected_[component_key::kWebmail];
    input.desktopIcon = selected_[component_key::kDesktopIcon];
    input.quickLaunchIcon = selected_[component_key::kQuickLaunchIcon];
    const net::SetupMailDetails details = form.UserDetails();
    input.userName = details.name;
    input.email = details.email;
    input.company = details.company;
    input.country = details.country;
    return winsys::RegisterShortcutsAndEntries(parts_.platform, window, parts_.registries, input);
}

}  // namespace tolva::setup

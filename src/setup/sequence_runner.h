#pragma once
// The install sequence behind the main window's Installing page: run over the window's setup state
// and component selection, with the component exclusions written through the product key and the
// shortcuts and entries registered for real.

#include <string>
#include <utility>

#include "net/http_download.h"
#include "platform/platform.h"
#include "setup/deployment_calls.h"
#include "setup/health_check.h"
#include "setup/install_steps.h"
#include "setup/main_form.h"
#include "setup/module_fetch.h"
#include "setup/process_end.h"
#include "setup/setup_log.h"
#include "setup/wizard_links.h"
#include "stores/settings_store.h"
#include "util/setup_abort.h"
#include "winsys/shortcuts.h"

namespace tolva::setup {

// Everything must outlive the runner.
struct SequenceRunnerParts {
    const platform::Platform& platform;
    TMainForm& form;
    TDebugStruct& log;
    util::SetupAbort& abort;
    ProcessEnd& processEnd;
    DeploymentCalls& deploymentCalls;
    stores::SettingsStore& settings;
    net::HttpClient& http;
    winsys::SetupRegistries registries;
    // The running setup program's own file name.
    std::string setupProgram;
};

class SequenceRunner : public InstallRunner,
                       private ComponentExclusionsStep,
                       private ShortcutsStep {
public:
    explicit SequenceRunner(SequenceRunnerParts parts) : parts_(std::move(parts)) {}

    void RunInstallSequence() override;

    // The Installing page the sequence shows: the main window's unless another is given.
    void SetWindow(InstallWindow* window) { window_ = window; }
    // The health check of the last run of the sequence; not checked when it did not get there.
    const HealthReport& Health() const { return health_; }

private:
    void WriteComponentExclusions(const SetupState& state) override;
    bool RegisterShortcutsAndEntries(const SetupState& state,
                                     winsys::ServiceControlWindow& window) override;

    SequenceRunnerParts parts_;
    ComponentSelection selected_{};
    InstallWindow* window_ = nullptr;
    HealthReport health_;
};

}  // namespace tolva::setup

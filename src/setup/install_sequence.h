#pragma once
// The install sequence: the one long operation of the installer, run when the user leaves the
// Install folder page with Install. It turns the choices of the setup state into an installed or
// upgraded server: missing archives fetched, running services stopped, setup.dat extracted, files
// deployed, a new installation's settings and demonstration accounts prepared, shortcuts and
// services registered, the notification mail sent, services started and upgrade tasks carried out.
// Each step writes its line to the setup log; the progress bar advances twelve times over a full
// installation (twice of them inside the deployment).

#include <memory>
#include <optional>
#include <string>

#include "net/http_download.h"
#include "net/setup_mail.h"
#include "net/smtp_client.h"
#include "platform/platform.h"
#include "setup/deployment_calls.h"
#include "setup/health_check.h"
#include "setup/install_steps.h"
#include "setup/install_window.h"
#include "setup/module_fetch.h"
#include "setup/process_end.h"
#include "setup/setup_log.h"
#include "setup/setup_state.h"
#include "stores/settings_store.h"
#include "util/setup_abort.h"

namespace tolva::setup {

// What the main window hands the sequence; everything must outlive it.
struct InstallParts {
    const platform::Platform& platform;
    SetupState& state;
    InstallWindow& window;
    TDebugStruct& log;
    util::SetupAbort& abort;
    ProcessEnd& processEnd;
    DeploymentCalls& deploymentCalls;
    stores::SettingsStore& settings;
    net::HttpClient& http;
    ComponentExclusionsStep& exclusions;
    ShortcutsStep& shortcuts;
    // The running setup program's own file name ("setup.exe").
    std::string setupProgram = "setup.exe";
    net::SetupMailRelays mailRelays = {};
    net::SmtpTimeouts mailTimeouts = {};
    // Where the health check expects the SMTP service's greeting.
    uint16_t healthSmtpPort = net::kSmtpDefaultPort;
};

class InstallSequence {
public:
    // The pause before the mail, which gives the started services time to take it.
    static constexpr uint32_t kPauseBeforeMailMs = 2000;

    explicit InstallSequence(InstallParts parts);
    ~InstallSequence();
    InstallSequence(const InstallSequence&) = delete;
    InstallSequence& operator=(const InstallSequence&) = delete;

    // Runs the whole sequence with the component tree's selection. True when it ended with
    // "Finished"; false only after an abort (exit code 1603) or a cancel (1602) whose process end
    // came back, as in tests: the sequence then stops where it was. A failure that escapes a step
    // is an abort with its text. Every way out before the end gives the services back the start
    // types an upgrade changed.
    bool Run(const ComponentSelection& selected);

    // The health check of the started services; not checked for an administration-only
    // installation or a run that did not get that far.
    const HealthReport& Health() const { return health_; }

private:
    class WayOut;
    class Progress;
    struct Components;

    bool RunSteps(const ComponentSelection& selected);
    void AbortWith(std::string_view failure);
    void GiveBackStartTypes();

    bool PrepareExtractionFolder();
    bool FetchModules(const ComponentSelection& selected);
    void FixInstallationFolder();
    void WriteStartLine();
    bool StopServicesAndExtract();
    bool Deploy(const ComponentSelection& selected);
    void ConfigureAndRegister();
    void PrepareNewInstallation();
    void FinishInstallation();
    void SendMail();
    void StartServicesAndUpgrade();

    // After an abort or a cancel whose process end came back.
    bool Ended() const;
    void Step();
    void Log(std::string_view line);
    void SyncServiceSetup();

    InstallParts parts_;
    std::unique_ptr<WayOut> wayOut_;
    std::unique_ptr<Progress> progress_;
    std::unique_ptr<Components> components_;
    bool aborted_ = false;
    bool newInstallation_ = false;
    bool startTypesRestored_ = false;
    HealthReport health_;
};

}  // namespace tolva::setup

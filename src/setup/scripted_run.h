#pragma once
// A run whose command line starts with a run switch (run_switches.h): the choices of the command
// line and the answer file made on the main window, then the wizard preset with them, an
// unattended installation (/QUIET, /PASSIVE), or the dry run (/CHECK); the setup log copied from
// the first line on (/LOG=), the run's choices kept (/SAVEINF=) and its result written
// (/RESULT=) at the end, whatever the end. Every way the process ends passes through here. A run
// started the classic way passes through unchanged.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "setup/health_check.h"
#include "setup/language_choice.h"
#include "setup/main_form.h"
#include "setup/preflight.h"
#include "setup/process_end.h"
#include "setup/run_switches.h"
#include "setup/sequence_runner.h"
#include "setup/setup_log.h"
#include "setup/startup.h"
#include "setup/unattended_window.h"
#include "setup/wizard_links.h"
#include "stores/settings_store.h"
#include "ui/application.h"
#include "winsys/service_control_window.h"

namespace tolva::setup {

// Everything must outlive the run. The run is made first, as the way every part ends the process;
// the parts that need that way to be made are attached to it afterwards.
struct ScriptedRunParts {
    ui::Application& application;
    // With the quiet message boxes in place for a /QUIET, /PASSIVE or /CHECK run
    // (RunsWithoutQuestions).
    const platform::Platform& platform;
    TDebugStruct& log;
    // Ends the process for real.
    ProcessEnd& exit;
    // Writes a line (UTF-8) where the program was started from; empty when there is nowhere to
    // write.
    std::function<void(std::string_view line)> console;
};

struct ScriptedRunLinks {
    TMainForm& form;
    stores::SettingsStore& settings;
    SequenceRunner& installRunner;
    DatabaseProbe& database;
    // The language dialog of an interactive run.
    i18n::LanguageDialog& languageDialog;
};

class ScriptedRun : public ProcessEnd, public InstallRunner, public winsys::ServiceControlWindow {
public:
    // arguments: the command line without the program's name, in UTF-8. The language dialog is
    // the attached one.
    ScriptedRun(ScriptedRunParts parts, const std::vector<std::string>& arguments);
    ~ScriptedRun() override;
    ScriptedRun(const ScriptedRun&) = delete;
    ScriptedRun& operator=(const ScriptedRun&) = delete;

    // The command line was read as run switches.
    bool Active() const { return active_; }
    // A run without the wizard, whose message boxes are never shown.
    bool Unattended() const;
    StartupOptions Options() const;
    // The language dialog the start-up is to use.
    i18n::LanguageDialog& Language() { return language_; }

    void Attach(const ScriptedRunLinks& links);

    // Before anything else: the log copy, then the command line's and the answer file's errors,
    // which end the run with 1639. False when the run has ended.
    bool Prepare();
    // Before the start-up: the /PASSIVE progress window comes up.
    void ShowProgress();
    // After a start-up that set up the wizard: the choices, then the dry run or the unattended
    // installation, which end the run. True when the wizard is to be shown.
    bool Continue();

    // Writes what the run keeps and ends the process: an unattended installation that is not
    // healthy ends with kExitNotHealthy instead of success.
    void EndProcess(int exitCode) override;
    // The main window's install sequence, remembered for the result.
    void RunInstallSequence() override;

    // The uninstall's window: the /PASSIVE progress window, else the main window.
    void ShowProgressText(std::u16string_view text) override;
    platform::DialogResult ShowMessageBox(const platform::MessageBoxRequest& request) override;
    void ProcessPendingMessages() override;

private:
    bool Refuse(const std::string& reason);
    bool LoadAnswerFile();
    void RunCheck();
    void RunUnattended();
    void Say(const std::string& line);
    std::string AbsolutePath(const std::string& path) const;
    std::string ProductVersion() const;
    void WriteResult(int exitCode);

    ScriptedRunParts p_;
    std::optional<ScriptedRunLinks> links_;
    bool active_ = false;
    bool withoutQuestions_ = false;
    RunSwitches switches_;
    std::string switchError_;
    LanguageChoice language_;
    std::unique_ptr<TProgressForm> progressForm_;
    std::unique_ptr<UnattendedWindow> window_;
    uint32_t startTicks_ = 0;
    std::string versionBefore_;
    std::string action_;
    std::vector<std::string> components_;
    bool installStarted_ = false;
    std::optional<HealthReport> health_;
    std::optional<PreflightReport> preflight_;
    std::string error_;
    bool ending_ = false;
};

}  // namespace tolva::setup

#include "setup/scripted_run.h"

#include "archive/delete_folder_tree.h"
#include "i18n/ui_strings.h"
#include "setup/answer_file.h"
#include "setup/component_tree.h"
#include "setup/exit_codes.h"
#include "setup/run_result.h"
#include "setup/wizard_choices.h"
#include "util/folder_path.h"
#include "util/product.h"
#include "util/string_file.h"
#include "util/text.h"
#include "util/utf8.h"

namespace tolva::setup {
namespace {

constexpr char kProductKey[] = "Software\\Corvane\\Tolva Mail Server";

const char* ModeName(RunMode mode) {
    switch (mode) {
        case RunMode::kPassive:
            return "passive";
        case RunMode::kQuiet:
            return "quiet";
        case RunMode::kCheck:
            return "check";
        case RunMode::kInteractive:
            break;
    }
    return "interactive";
}

}  // namespace

ScriptedRun::ScriptedRun(ScriptedRunParts parts, const std::vector<std::string>& arguments)
    : p_(std::move(parts)),
      active_(StartsWithRunSwitch(arguments)),
      withoutQuestions_(RunsWithoutQuestions(arguments)),
      language_(nullptr, ""),
      startTicks_(p_.platform.system->Ticks()) {
    if (active_) {
        (void)ParseRunSwitches(arguments, switches_, switchError_);
    }
}

ScriptedRun::~ScriptedRun() = default;

void ScriptedRun::Attach(const ScriptedRunLinks& links) {
    links_.emplace(links);
    language_ = LanguageChoice(&links_->languageDialog, "");
}

bool ScriptedRun::Unattended() const {
    return active_ && switches_.mode != RunMode::kInteractive;
}

StartupOptions ScriptedRun::Options() const {
    StartupOptions options;
    options.runSwitches = active_;
    options.silent = switches_.silent;
    options.uninstall = switches_.uninstall;
    options.dryRun = active_ && switches_.mode == RunMode::kCheck;
    if (active_ && switches_.choices.language) {
        options.languageRefusedExit = kExitInvalidCommandLine;
    }
    return options;
}

std::string ScriptedRun::AbsolutePath(const std::string& utf8) const {
    const std::string path = p_.platform.system->WideToAnsi(util::UTF8ToWide(utf8));
    const bool full =
        (path.size() >= 3 && path[1] == ':' && path[2] == '\\') || path.starts_with("\\\\");
    return full ? path : util::WithTrailingBackslash(p_.platform.libraries->CurrentFolder()) + path;
}

std::string ScriptedRun::ProductVersion() const {
    std::string version;
    (void)p_.platform.registry->ReadString(platform::RegistryRoot::kLocalMachine, kProductKey,
                                           "Version", version);
    return version;
}

void ScriptedRun::Say(const std::string& line) {
    if (p_.console) {
        p_.console(line);
    }
}

bool ScriptedRun::Refuse(const std::string& reason) {
    error_ = reason;
    // Refused after the start-up: the extraction folder it made, with the language unpacked there,
    // goes as the installation's end would take it.
    if (links_ && !links_->form.State.ExtractDir.empty()) {
        archive::DeleteFolderTree(*p_.platform.files, links_->form.State.ExtractDir);
    }
    const std::u16string text = util::UTF8ToWide(reason);
    p_.log.Write("Error: " + p_.platform.system->WideToAnsi(text));
    Say("setup.exe: " + reason);
    if (!withoutQuestions_) {
        platform::MessageBoxRequest box;
        box.text = text;
        box.caption = i18n::Text(i18n::cError);
        box.icon = platform::DialogIcon::kError;
        box.taskModal = true;
        (void)p_.platform.dialogs->ShowMessageBox(box);
    }
    EndProcess(kExitInvalidCommandLine);
    return false;
}

bool ScriptedRun::LoadAnswerFile() {
    if (switches_.loadFile.empty()) {
        return true;
    }
    const std::string file = AbsolutePath(switches_.loadFile);
    std::string text;
    if (!util::ReadStringFromFile(*p_.platform.files, file, text)) {
        return Refuse("LOADINF: the answer file \"" + switches_.loadFile + "\" cannot be read");
    }
    SetupChoices answers;
    std::string error;
    if (!ReadAnswerFile(text, answers, error)) {
        return Refuse("LOADINF: \"" + switches_.loadFile + "\" " + error);
    }
    switches_.choices.TakeUnsetFrom(answers);
    p_.log.Write("Answers read from \"" + file + "\"");
    return true;
}

bool ScriptedRun::Prepare() {
    if (!active_) {
        return true;
    }
    if (!switches_.logFile.empty()) {
        p_.log.SetCopyFile(AbsolutePath(switches_.logFile));
    }
    versionBefore_ = ProductVersion();
    if (switches_.uninstall) {
        action_ = "uninstall";
    }
    if (!switchError_.empty()) {
        return Refuse(switchError_);
    }
    if (!LoadAnswerFile()) {
        return false;
    }
    const SetupChoices& choices = switches_.choices;
    if (switches_.mode == RunMode::kQuiet && choices.runTutorial.value_or(false)) {
        return Refuse("FINISH: the installation wizard is a window, which /QUIET never shows");
    }
    language_ = LanguageChoice(Unattended() ? nullptr : &links_->languageDialog,
                               choices.language.value_or(""));
    return true;
}

void ScriptedRun::ShowProgress() {
    if (switches_.mode == RunMode::kPassive) {
        progressForm_ = std::make_unique<TProgressForm>(
            p_.application, util::FillMarks(i18n::Text(i18n::cPSetup),
                                            {p_.platform.system->AnsiToWide(kProductName),
                                             p_.platform.system->AnsiToWide(kSetupVersion)}));
    }
    if (Unattended() && switches_.mode != RunMode::kCheck) {
        window_ =
            std::make_unique<UnattendedWindow>(p_.application, links_->form, progressForm_.get());
    }
}

bool ScriptedRun::Continue() {
    if (!active_) {
        return true;
    }
    std::string reason;
    // A dry run loads no language.
    if (switches_.mode != RunMode::kCheck && !language_.Offered(reason)) {
        return Refuse(reason);
    }
    SetupState& state = links_->form.State;
    versionBefore_ = state.OldVersion;
    if (progressForm_) {
        progressForm_->SetCaption(p_.platform.system->AnsiToWide(state.SetupTitle));
    }
    if (Unattended()) {
        // Nothing is started after an unattended installation unless the choices say so.
        for (ui::Component* tick : {links_->form.RunConfig, links_->form.RunTutorial,
                                    links_->form.ShowTutorial, links_->form.OpenWMGuideCheckbox}) {
            tick->SetChecked(false);
        }
    }
    ChoiceNotes notes;
    if (!ApplyChoices(links_->form, switches_.choices, *p_.platform.files, *p_.platform.system,
                      reason, &notes)) {
        return Refuse(reason);
    }
    if (notes.typeIgnored) {
        p_.log.Write("TYPE is not used: an upgrade keeps its setup type");
    }
    switch (switches_.mode) {
        case RunMode::kCheck:
            RunCheck();
            return false;
        case RunMode::kQuiet:
        case RunMode::kPassive:
            RunUnattended();
            return false;
        case RunMode::kInteractive:
            break;
    }
    return true;
}

void ScriptedRun::RunCheck() {
    const SetupState& state = links_->form.State;
    action_ = "check";
    PreflightInput input;
    input.setupFolder = state.SetupFolder;
    input.installDir = util::WithTrailingBackslash(state.InstallDir);
    input.oldVersion = state.OldVersion;
    input.selected = links_->form.SelectedComponents();
    if (p_.platform.files->FolderExists(input.installDir + "config\\")) {
        links_->settings.UseConfigurationFolder(input.installDir);
        input.controlHttpPort = links_->settings.Record().ControlHttpPort();
        input.secureControlPort = links_->settings.Record().SecureControlPort();
    }
    if (links_->form.NewSetupMode->Visible() && links_->form.SetupModeAdvanced->Checked()) {
        input.database = state.DatabaseConnectionString;
    }
    preflight_ = RunPreflight(p_.platform, input, &links_->database);
    for (const std::string& line : PreflightLines(*preflight_)) {
        p_.log.Write(line);
        Say(util::WideToUTF8(p_.platform.system->AnsiToWide(line)));
    }
    EndProcess(preflight_->Problems());
}

void ScriptedRun::RunUnattended() {
    TMainForm& form = links_->form;
    std::string reason;
    if (!UnattendedChoicesComplete(form, reason)) {
        Refuse(reason);
        return;
    }
    const bool advanced = form.NewSetupMode->Visible() && form.SetupModeAdvanced->Checked();
    if (advanced && !links_->database.Connect(form.State.DatabaseConnectionString, reason)) {
        Refuse("DATABASE: the database cannot be reached: " + reason);
        return;
    }
    links_->installRunner.SetWindow(window_.get());
    // The Install folder page's Install, the Finished page's Finish: as the user would go on.
    form.State.PageIndex = TMainForm::kInstallFolderPage;
    form.BackButtonClick(*form.NextButton);
    if (form.State.PageIndex == TMainForm::kFinishedPage) {
        ApplyFinishChoices(form, switches_.choices);
        form.BackButtonClick(*form.NextButton);
    }
}

void ScriptedRun::RunInstallSequence() {
    const SetupState& state = links_->form.State;
    installStarted_ = true;
    action_ =
        p_.platform.files->FolderExists(util::WithTrailingBackslash(state.InstallDir) + "config\\")
            ? "upgrade"
            : "install";
    const ComponentSelection selected = links_->form.SelectedComponents();
    components_.clear();
    for (size_t key = 0; key < selected.size(); ++key) {
        if (selected[key]) {
            components_.push_back(util::WideToUTF8(ComponentName(static_cast<int32_t>(key))));
        }
    }
    links_->installRunner.RunInstallSequence();
    if (links_->installRunner.Health().checked) {
        health_ = links_->installRunner.Health();
    }
}

void ScriptedRun::EndProcess(int exitCode) {
    if (ending_ || !active_ || !links_) {
        p_.exit.EndProcess(exitCode);
        return;
    }
    ending_ = true;
    std::string reason;
    if (exitCode == kExitInvalidCommandLine && error_.empty() && !language_.Offered(reason)) {
        error_ = reason;
        p_.log.Write("Error: " + p_.platform.system->WideToAnsi(util::UTF8ToWide(reason)));
        Say("setup.exe: " + reason);
    }
    if (Unattended() && switches_.mode != RunMode::kCheck && exitCode == kExitSuccess && health_ &&
        !health_->Healthy()) {
        exitCode = kExitNotHealthy;
    }
    if (!switches_.saveFile.empty() && installStarted_) {
        const std::string file = AbsolutePath(switches_.saveFile);
        const SetupChoices made =
            CurrentChoices(links_->form, *p_.platform.system, language_.Chosen());
        if (!util::WriteCreatingFolders(*p_.platform.files, file, WriteAnswerFile(made))) {
            p_.log.Write("Error: the answer file \"" + file + "\" could not be written");
        }
    }
    WriteResult(exitCode);
    Say("setup.exe: " + ExitCodeMeaning(exitCode, switches_.mode == RunMode::kCheck) +
        " (exit code " + std::to_string(exitCode) + ")");
    p_.exit.EndProcess(exitCode);
}

void ScriptedRun::WriteResult(int exitCode) {
    if (switches_.resultFile.empty()) {
        return;
    }
    const platform::System& system = *p_.platform.system;
    auto utf8 = [&](const std::string& ansi) { return util::WideToUTF8(system.AnsiToWide(ansi)); };
    RunResult result;
    result.exitCode = exitCode;
    result.mode = ModeName(switches_.mode);
    result.action = action_;
    result.versionInstalled = ProductVersion();
    result.versionBefore = versionBefore_;
    const std::string folder =
        switches_.uninstall ? links_->settings.RootFolder() : links_->form.State.InstallDir;
    result.folder = folder.empty() ? "" : utf8(util::WithTrailingBackslash(folder));
    result.components = components_;
    result.services = QueryServices(p_.platform);
    result.health = health_;
    result.preflight = preflight_;
    result.error = error_;
    result.durationSeconds = (system.Ticks() - startTicks_) / 1000.0;
    result.setupLog = utf8(p_.log.FileName());
    result.logCopy = switches_.logFile.empty() ? "" : utf8(AbsolutePath(switches_.logFile));
    const std::string file = AbsolutePath(switches_.resultFile);
    if (!util::WriteCreatingFolders(*p_.platform.files, file, RunResultJson(result))) {
        p_.log.Write("Error: the result file \"" + file + "\" could not be written");
    }
}

void ScriptedRun::ShowProgressText(std::u16string_view text) {
    if (window_) {
        window_->SetProgressText(text);
    } else {
        links_->form.ShowProgressText(text);
    }
}

platform::DialogResult ScriptedRun::ShowMessageBox(const platform::MessageBoxRequest& request) {
    return links_->form.ShowMessageBox(request);
}

void ScriptedRun::ProcessPendingMessages() {
    p_.application.ProcessPendingMessages();
}

}  // namespace tolva::setup

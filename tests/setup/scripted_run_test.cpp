// Runs started with run switches, through setup.exe's own wiring over the small distribution: the
// classic run untouched, an unattended installation with its result and answer file, a refused
// command line, and the dry run.

#include "setup/scripted_run.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "distribution_fixture.h"
#include "setup/abort_box.h"
#include "setup/answer_file.h"
#include "setup/exit_codes.h"
#include "setup/package_table.h"
#include "ui/application.h"
#include "ui/headless_display.h"
#include "winsys/setup_registry_keys.h"

namespace tolva::setup {
namespace {

using Json = nlohmann::json;
using platform::RegistryRoot;
using test::Events;
namespace key = component_key;

constexpr char kResult[] = "C:\\out\\result.json";
constexpr char kAnswers[] = "C:\\out\\answers.ini";
constexpr char kLogCopy[] = "C:\\out\\logs\\run.log";

class RecordingLanguages : public i18n::LanguageDialog {
public:
    std::optional<int> ChooseLanguage(const std::vector<std::u16string>& captions, int) override {
        shown = captions;
        return 0;
    }
    std::vector<std::u16string> shown;
};

class NoDatabase : public DatabaseProbe {
public:
    bool Connect(std::string_view, std::string& error) override {
        error = "no server";
        return false;
    }
};

// What the program entry builds, for one command line.
class ScriptedRunTest : public ::testing::Test, protected test::DistributionRun {
protected:
    void Start(std::vector<std::string> arguments) {
        run.emplace(ScriptedRunParts{application, platform, log, processEnd,
                                     [this](std::string_view line) { said.emplace_back(line); }},
                    arguments);
        form.emplace(application, platform, log, *run);
        form->State.SetupFolder = kDist;
        form->State.InstallDir = kInstall;
        form->State.ExtractDir = kExtract;
        abortBox.emplace(dialogs, system, log, *run);
        runner.emplace(SequenceRunnerParts{platform, *form, log, *abortBox, *run, calls, settings,
                                           http, registryKeys.Components(), "setup.exe"});
        run->Attach({*form, settings, *runner, database, languages});
        form->SetLinks({.installRunner = &*run});
    }
    // What the start-up leaves: the wizard on its first page.
    void StartUp() {
        ASSERT_TRUE(files.CreateFolders(kExtract).ok());
        form->SetupPage();
    }
    Json Result() const { return Json::parse(Get(kResult)); }

    ui::HeadlessDisplay display;
    ui::Application application{display, &system};
    TDebugStruct log{files, system};
    stores::SettingsStore settings{platform};
    net::HttpClient http{platform};
    winsys::TAdvancedRegistry productKey{fake.Registry(), RegistryRoot::kLocalMachine, kProductArea,
                                         kProductSection};
    winsys::SetupRegistryKeys registryKeys{fake.Registry(), productKey};
    NoDatabase database;
    RecordingLanguages languages;
    std::vector<std::string> said;
    std::optional<ScriptedRun> run;
    std::optional<TMainForm> form;
    std::optional<AbortBox> abortBox;
    std::optional<SequenceRunner> runner;
};

TEST_F(ScriptedRunTest, AClassicRunPassesThrough) {
    Start({"/SILENT", "/QUIET", "/RESULT=C:\\out\\result.json"});
    EXPECT_FALSE(run->Active());
    EXPECT_TRUE(run->Prepare());
    EXPECT_FALSE(run->Options().runSwitches);
    // The language dialog is the user's.
    EXPECT_EQ(run->Language().ChooseLanguage({u"Deutsch", u"English"}, 1), 0);
    EXPECT_EQ(languages.shown.size(), 2u);
    StartUp();
    EXPECT_TRUE(run->Continue());
    run->EndProcess(kExitSuccess);
    EXPECT_EQ(events.back(), "end 0");
    EXPECT_FALSE(files.FileExists(kResult));
    EXPECT_TRUE(said.empty());
}

TEST_F(ScriptedRunTest, AQuietInstallationKeepsItsResultAnswersAndLog) {
    Start({"/QUIET", "/NAME=Ann Admin", "/EMAIL=ann@example.com", "/COMPONENTS=!Anti-Virus",
           std::string("/RESULT=") + kResult, std::string("/SAVEINF=") + kAnswers,
           std::string("/LOG=") + kLogCopy});
    ASSERT_TRUE(run->Prepare());
    EXPECT_TRUE(run->Options().runSwitches);
    run->ShowProgress();
    StartUp();
    EXPECT_FALSE(run->Continue()) << "no wizard";

    EXPECT_EQ(LogLines().end()[-2], "Finished");
    // No SMTP service answers on this machine: installed, but not healthy.
    EXPECT_EQ(events.back(), "end " + std::to_string(kExitNotHealthy));
    EXPECT_TRUE(dialogs.Shown().empty());
    const Json result = Result();
    EXPECT_EQ(result["exitCode"], kExitNotHealthy);
    EXPECT_EQ(result["mode"], "quiet");
    EXPECT_EQ(result["action"], "install");
    EXPECT_EQ(result["folder"], kInstall);
    EXPECT_EQ(result["health"]["healthy"], false);
    const Json& components = result["components"];
    EXPECT_EQ(std::count(components.begin(), components.end(), "Anti-Virus"), 0);
    EXPECT_EQ(std::count(components.begin(), components.end(), "Webmail"), 1);
    EXPECT_EQ(result["setupLog"], kLogFile);
    EXPECT_EQ(result["log"], kLogCopy);

    SetupChoices answers;
    std::string error;
    ASSERT_TRUE(ReadAnswerFile(Get(kAnswers), answers, error)) << error;
    EXPECT_EQ(answers.name, "Ann Admin");
    EXPECT_EQ(answers.runTutorial, false) << "nothing started after an unattended installation";
    EXPECT_EQ(answers.installDir, kInstall);
    // The log copy holds the setup log's lines.
    EXPECT_NE(Get(kLogCopy).find("Finished\r\n"), std::string::npos);
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.back(), "setup.exe: installed, but not healthy (exit code 8)");
}

TEST_F(ScriptedRunTest, ARefusedCommandLineChangesNothing) {
    Put("C:\\out\\bad.ini", "[Setup]\r\nName=Ann Admin\r\nMood=cheerful\r\n");
    const struct {
        std::vector<std::string> arguments;
        const char* error;
    } cases[] = {
        {{"/QUIET", "/EMAIL=ann", std::string("/RESULT=") + kResult},
         "/EMAIL: \"ann\" is not an e-mail address"},
        {{"/PASSIVE", "/LOADINF=C:\\out\\bad.ini", std::string("/RESULT=") + kResult},
         "LOADINF: \"C:\\out\\bad.ini\" line 3: unknown key \"Mood\""},
        {{"/QUIET", "/LOADINF=C:\\out\\none.ini", std::string("/RESULT=") + kResult},
         "LOADINF: the answer file \"C:\\out\\none.ini\" cannot be read"},
    };
    for (const auto& c : cases) {
        events.clear();
        Start(c.arguments);
        EXPECT_FALSE(run->Prepare());
        EXPECT_EQ(events, (Events{"end 1639"}));
        EXPECT_EQ(Result()["error"], c.error);
        EXPECT_EQ(Result()["meaning"], "invalid command line or answer file");
        EXPECT_TRUE(dialogs.Shown().empty()) << "an unattended run shows no box";
    }
    // Choices that fail only on the window: still nothing installed.
    events.clear();
    Start({"/QUIET", "/TYPE=advanced", "/DATABASE=mail;sa;pw;db1;3;2", "/NAME=Ann Admin",
           "/EMAIL=ann@example.com", std::string("/RESULT=") + kResult});
    ASSERT_TRUE(run->Prepare());
    StartUp();
    EXPECT_FALSE(run->Continue());
    EXPECT_EQ(events, (Events{"end 1639"}));
    EXPECT_EQ(Result()["error"], "DATABASE: the database cannot be reached: no server");
    EXPECT_FALSE(files.FolderExists(kInstall));
    EXPECT_FALSE(files.FolderExists(kExtract)) << "the start-up's extraction folder stays";
}

TEST_F(ScriptedRunTest, AWrongSwitchInARunWithTheWizardIsShownInABox) {
    Start({"/SAVEINF=C:\\out\\a.ini", "/COUNTRY=Atlantis"});
    EXPECT_FALSE(run->Prepare());
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].text, u"/COUNTRY: unknown country \"Atlantis\"");
    EXPECT_EQ(events, (Events{"end 1639"}));
}

TEST_F(ScriptedRunTest, TheDryRunReportsAndChangesNothing) {
    Start({"/CHECK", "/DIR=D:\\Mail", std::string("/RESULT=") + kResult});
    ASSERT_TRUE(files.CreateFolders("D:\\").ok());
    ASSERT_TRUE(run->Prepare());
    EXPECT_TRUE(run->Options().dryRun);
    StartUp();
    EXPECT_FALSE(run->Continue());
    EXPECT_EQ(events, (Events{"end 0"}));
    EXPECT_EQ(said.at(1), "New installation into \"D:\\Mail\\\"");
    EXPECT_EQ(said.end()[-2], "Ready: yes");
    EXPECT_EQ(said.back(), "setup.exe: ready (exit code 0)");
    const Json result = Result();
    EXPECT_EQ(result["action"], "check");
    EXPECT_EQ(result["preflight"]["folder"], "D:\\Mail\\");
    EXPECT_FALSE(files.FolderExists("D:\\Mail\\"));
    EXPECT_FALSE(files.FileExists(kLogFile)) << "no setup log";
}

}  // namespace
}  // namespace tolva::setup

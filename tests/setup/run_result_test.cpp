#include "setup/run_result.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/fake/fake_platform.h"
#include "setup/exit_codes.h"

namespace tolva::setup {
namespace {

using Json = nlohmann::json;

TEST(RunResultTest, AQuietUpgradeThatIsNotHealthy) {
    platform::FakePlatform fake;
    platform::NewService smtp;
    smtp.name = "TolvaSMTP";
    smtp.config.binaryPath = "C:\\Tolva\\smtp.exe";
    smtp.config.startType = platform::ServiceStartType::kDisabled;
    fake.ServiceManager().Install(smtp, platform::ServiceState::kStopped);

    RunResult result;
    result.exitCode = kExitNotHealthy;
    result.mode = "quiet";
    result.action = "upgrade";
    result.versionInstalled = "9.1.0";
    result.versionBefore = "9.0.5";
    result.folder = "C:\\Program Files\\Tolva\\";
    result.components = {"Services and core files", "Webmail"};
    result.services = QueryServices(fake.Services());
    HealthReport health;
    health.checked = true;
    health.running = {"SMTP"};
    health.notRunning = {"IM"};
    health.greeting = "no connection";
    result.health = health;
    result.durationSeconds = 12.5;
    result.setupLog = "C:\\Program Files\\Tolva\\logs\\setup\\setup.log";
    result.error = "Company \xE9";  // not UTF-8

    const Json document = Json::parse(RunResultJson(result));
    EXPECT_EQ(document["exitCode"], 8);
    EXPECT_EQ(document["meaning"], "installed, but not healthy");
    EXPECT_EQ(document["versionBefore"], "9.0.5");
    EXPECT_EQ(document["folder"], "C:\\Program Files\\Tolva\\");
    EXPECT_EQ(document["components"][1], "Webmail");
    ASSERT_EQ(document["services"].size(), 5u);
    EXPECT_EQ(document["services"][0], Json({{"name", "TolvaSMTP"},
                                             {"displayName", "Corvane SMTP"},
                                             {"present", true},
                                             {"startType", "disabled"},
                                             {"state", "stopped"}}));
    EXPECT_EQ(document["services"][3]["present"], false);
    EXPECT_TRUE(document["services"][3]["state"].is_null());
    EXPECT_EQ(document["health"]["healthy"], false);
    EXPECT_EQ(document["health"]["notRunning"][0], "IM");
    EXPECT_TRUE(document["health"]["smtpGreeting"].is_null());
    EXPECT_EQ(document["health"]["smtpProblem"], "no connection");
    EXPECT_DOUBLE_EQ(document["durationSeconds"].get<double>(), 12.5);
    EXPECT_TRUE(document["log"].is_null());
    EXPECT_EQ(document["error"], "Company \xEF\xBF\xBD");
    EXPECT_FALSE(document.contains("preflight"));
}

TEST(RunResultTest, ADryRunCarriesItsPreflightAndProblems) {
    RunResult result;
    result.mode = "check";
    result.action = "check";
    result.exitCode = problem::kPortHeld | problem::kDatabase;
    PreflightReport report;
    report.installDir = "C:\\Tolva\\";
    report.portsHeld = {{25, "SMTP", 0, ""}};
    report.databaseTested = true;
    report.databaseError = "refused";
    report.components = {{0, "Services and core files", {{"setup.dat", true, 100, 250}}}};
    result.preflight = report;

    const Json document = Json::parse(RunResultJson(result));
    EXPECT_EQ(document["meaning"],
              "a port is held by another program; the database cannot be reached");
    const Json& preflight = document["preflight"];
    EXPECT_EQ(preflight["ready"], false);
    EXPECT_EQ(preflight["problems"], 5);
    EXPECT_EQ(
        preflight["portsHeld"][0],
        Json({{"port", 25}, {"protocol", "SMTP"}, {"processId", nullptr}, {"program", nullptr}}));
    EXPECT_EQ(preflight["components"][0]["archives"][0]["unpackedSize"], 250);
    EXPECT_EQ(preflight["database"]["reachable"], false);
}

}  // namespace
}  // namespace tolva::setup

// The upgrade procedures against the stand-ins running as services in a Wine prefix, and the copy
// of the older product keys in the prefix's registry.

#include <gtest/gtest.h>

#include "net/http_download.h"
#include "stores/account_store.h"
#include "stores/settings_store.h"
#include "suite_scenario_test.h"
#include "upgrade/legacy_registry.h"
#include "upgrade/service_table.h"
#include "upgrade/step_messages.h"
#include "upgrade/task_messages.h"
#include "upgrade/upgrade_procedures.h"
#include "winsys/service_install.h"

namespace tolva::upgrade {
namespace {

using platform::RegistryRoot;
using winsys::testing::SuiteFolder;

constexpr char kStandinTask[] = "pipe task kind=4096 message=1280 ";

// Nothing of these runs is for the setup log.
class NoLog : public util::SetupLogSink {
public:
    void Write(std::string_view message) override { ADD_FAILURE() << message; }
};

// The web server edits are not among the steps these runs take.
class NoWebServerEdits : public WebServerEdits {
public:
    bool AddWebDavHandler(std::string_view) override {
        ADD_FAILURE() << "WebDAV handler";
        return false;
    }
    bool AddPhpHandler(std::string_view) override {
        ADD_FAILURE() << "PHP handler";
        return false;
    }
};

class UpgradeScenarioTest : public winsys::testing::SuiteScenarioTest {
protected:
    UpgradeScenarioTest() : SuiteScenarioTest(platform::PlatformId::kWindowsNt) {}

    void EndPrograms() override {
        winsys::ServiceInstall install(platform, window, setup);
        (void)install.StopRunningServices();
        install.Control().DeleteStoppedServices();
    }

    void Upgrade(std::string_view oldVersion) {
        stores::SettingsStore settings(platform);
        settings.SetRootFolder(SuiteFolder::kFolder);
        stores::AccountStore accounts(platform, settings);
        NoWebServerEdits webServer;
        net::HttpClient http(platform);
        TaskMessenger messenger(platform);
        NoLog log;
        UpgradeProcedures procedures(*platform.files, messenger, settings, accounts, webServer,
                                     http, log);
        EXPECT_TRUE(procedures.RunUpgradeProcedures(oldVersion, SuiteFolder::kFolder));
    }

    // "code:argument" of each task message the program logged, in the order it read them.
    std::vector<std::string> TasksLogged(int index) {
        std::vector<std::string> tasks;
        for (const std::string& line : suite.LogLines(ServiceRowAt(index)->serviceName)) {
            if (line.rfind(kStandinTask, 0) == 0) {
                tasks.push_back(line.substr(sizeof kStandinTask - 1));
            }
        }
        return tasks;
    }

    // What the program should have read of an upgrade whose steps from firstStep on run: each
    // step's broadcast, then the step's tasks addressed to it.
    static std::vector<std::string> TasksFor(int index, size_t firstStep) {
        std::vector<std::string> tasks;
        for (size_t step = 1; step <= kStepMessages.size(); ++step) {
            tasks.push_back("code=257 argument=0");
            if (step < firstStep) {
                continue;
            }
            for (const std::string& message : kStepMessages[step - 1]) {
                const size_t code = message.find(':');
                const size_t argument = message.find(':', code + 1);
                if (std::stoi(message.substr(0, code)) == index) {
                    tasks.push_back("code=" + message.substr(code + 1, argument - code - 1) +
                                    " argument=" + message.substr(argument + 1));
                }
            }
        }
        return tasks;
    }
};

TEST_F(UpgradeScenarioTest, RunningProgramsReadEveryBroadcastAndTaskInOrder) {
    winsys::ServiceInstall install(platform, window, setup);
    install.InstallAndStartServices();
    TaskMessenger messenger(platform);
    ASSERT_TRUE(suite.WaitFor(
        [&] {
            for (int index = 0; index < kServiceCount; ++index) {
                if (!messenger.IsProgramRunning(index)) {
                    return false;
                }
            }
            return true;
        },
        20000));

    // From 9.0.5 no step is left to do, but each of the 33 tests is broadcast.
    Upgrade("9.0.5");
    for (int index = 0; index < kServiceCount; ++index) {
        const std::vector<std::string> expected = TasksFor(index, 34);
        ASSERT_EQ(expected.size(), 33u);
        EXPECT_TRUE(suite.WaitFor([&] { return TasksLogged(index).size() >= 33; }, 10000));
        EXPECT_EQ(TasksLogged(index), expected) << ServiceRowAt(index)->serviceName;
    }

    // From 8.9.0 the IMAP rules conversion and the later tasks run between the broadcasts.
    Upgrade("8.9.0");
    for (int index = 0; index < kServiceCount; ++index) {
        std::vector<std::string> expected = TasksFor(index, 34);
        const std::vector<std::string> second = TasksFor(index, 26);
        expected.insert(expected.end(), second.begin(), second.end());
        EXPECT_TRUE(
            suite.WaitFor([&] { return TasksLogged(index).size() >= expected.size(); }, 10000));
        EXPECT_EQ(TasksLogged(index), expected) << ServiceRowAt(index)->serviceName;
    }
    EXPECT_TRUE(suite.Logged("TolvaControl", "http GET /admin/tools/convert_imap_rules.html"));
}

TEST_F(UpgradeScenarioTest, OlderProductKeyIsCopiedIntoTheRegistryOnce) {
    platform::Registry& registry = *platform.registry;
    constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
    (void)registry.RemoveKeyTree(kMachine, "Software\\Corvane");
    ASSERT_TRUE(registry.WriteString(kMachine, "Software\\Tolva", "InstallDir", "C:\\Old\\").ok());
    ASSERT_TRUE(registry.WriteString(kMachine, "Software\\Tolva", "Version", "7.7.2").ok());
    ASSERT_TRUE(
        registry.WriteBinary(kMachine, "Software\\Tolva", "TOLVANotify", std::string(4096, 'n'))
            .ok());
    ASSERT_TRUE(registry.WriteString(kMachine, "Software\\Tolva\\Sub", "Kept", "yes").ok());

    MigrateLegacyRegistry(registry, false);
    MigrateLegacyRegistry(registry, true);
    const std::string current = "Software\\Corvane\\Tolva Mail Server";
    std::string value;
    EXPECT_TRUE(registry.ReadString(kMachine, current, "InstallDir", value).ok());
    EXPECT_EQ(value, "C:\\Old\\");
    EXPECT_TRUE(registry.ReadString(kMachine, current, "Email", value).ok());
    EXPECT_EQ(value, "");
    EXPECT_TRUE(registry.ReadBinary(kMachine, current, "Notify", value).ok());
    EXPECT_EQ(value, std::string(4096, 'n'));
    EXPECT_TRUE(registry.ReadString(kMachine, "Software\\Tolva\\Sub", "Kept", value).ok())
        << "the installation's call finds the vendor key and keeps the old one";
    EXPECT_EQ(value, "yes");

    (void)registry.RemoveKeyTree(kMachine, "Software\\Tolva");
    (void)registry.RemoveKeyTree(kMachine, "Software\\Corvane");
}

}  // namespace
}  // namespace tolva::upgrade

#include "setup/preflight.h"

#include <gtest/gtest.h>

#include <string>

#include "archive/archive_builder.h"
#include "platform/fake/fake_platform.h"
#include "setup/package_table.h"
#include "upgrade/service_table.h"

namespace tolva::setup {
namespace {

using platform::ServiceState;
using platform::TcpListener;

constexpr char kSetupFolder[] = "C:\\Download\\";
constexpr char kInstallDir[] = "D:\\Mail\\Tolva\\";

class RefusingDatabase : public DatabaseProbe {
public:
    bool Connect(std::string_view connection, std::string& error) override {
        tried = std::string(connection);
        error = "Server connect failed: no route";
        return false;
    }
    std::string tried;
};

class PreflightTest : public ::testing::Test {
protected:
    PreflightTest() {
        platform::MemoryFileSystem& files = fake.Files();
        EXPECT_TRUE(files.CreateFolders(kSetupFolder).ok());
        EXPECT_TRUE(files.CreateFolders("D:\\").ok());
        files.files[std::string(kSetupFolder) + "setup.dat"] =
            archive::test::ArchiveBuilder(3).Entry("smtp.exe", std::string(6000, 's')).bytes();
        files.files[std::string(kSetupFolder) + "setupphp.dat"] =
            archive::test::ArchiveBuilder(3).Entry("php.ini", std::string(1000, 'p')).bytes();
        input.setupFolder = kSetupFolder;
        input.installDir = kInstallDir;
        input.selected.fill(true);
    }

    void Listen(uint16_t port, const char* program) {
        const uint32_t id = program == nullptr ? 0 : fake.Processes().Start(program);
        listeners.push_back({port, id});
        fake.System().SetTcpListeners(listeners);
    }

    void RunService(int index) {
        platform::NewService service;
        service.name = upgrade::kServiceTable[size_t(index)].serviceName;
        service.config.binaryPath =
            std::string(kInstallDir) + upgrade::kServiceTable[size_t(index)].executable;
        fake.ServiceManager().Install(service, ServiceState::kRunning);
    }

    platform::FakePlatform fake;
    PreflightInput input;
    std::vector<TcpListener> listeners;
};

TEST_F(PreflightTest, ANewInstallationWithEveryKindOfProblem) {
    Listen(25, "port_holder.exe");
    Listen(110, nullptr);         // nobody the system names, and no POP3 service of ours runs
    Listen(143, "pop3.exe");      // the suite's own program
    Listen(8080, "browser.exe");  // not one of the suite's ports
    fake.Files().SetAvailableSpace('D', 4000);
    input.database = "mail;sa;secret;db1;3;2";
    RefusingDatabase database;

    const PreflightReport report = RunPreflight(fake.Services(), input, &database);

    EXPECT_FALSE(report.upgrade);
    EXPECT_EQ(report.installDir, kInstallDir);
    ASSERT_FALSE(report.components.empty());
    const ComponentPlan& core = report.components.front();
    EXPECT_EQ(core.name, "Services and core files");
    ASSERT_EQ(core.archives.size(), 2u);
    EXPECT_TRUE(core.archives[0].present);
    EXPECT_EQ(core.archives[0].unpacked, 6000u);
    // setupas.dat and the others are not beside setup.exe: they are downloaded first.
    EXPECT_NE(std::find(report.downloads.begin(), report.downloads.end(), "setupas.dat"),
              report.downloads.end());
    EXPECT_EQ(std::find(report.downloads.begin(), report.downloads.end(), "setupconfig.dat"),
              report.downloads.end());
    EXPECT_EQ(report.spaceNeeded, 7000u);
    EXPECT_EQ(report.spaceAvailable, 4000u);
    ASSERT_EQ(report.portsHeld.size(), 2u);
    EXPECT_EQ(report.portsHeld[0].port, 25);
    EXPECT_EQ(report.portsHeld[0].program, "port_holder.exe");
    EXPECT_EQ(report.portsHeld[1].port, 110);
    EXPECT_EQ(report.portsHeld[1].program, "");
    EXPECT_EQ(database.tried, input.database);
    EXPECT_EQ(report.Problems(), problem::kPortHeld | problem::kDiskSpace | problem::kDatabase);

    const std::vector<std::string> lines = PreflightLines(report);
    auto has = [&](const std::string& text) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    };
    EXPECT_TRUE(has("New installation into \"D:\\Mail\\Tolva\\\""));
    EXPECT_TRUE(has("Port 25 (SMTP) is held by port_holder.exe (process "));
    EXPECT_TRUE(has("Disk space: 7000 bytes needed, 4000 bytes free: NOT ENOUGH"));
    EXPECT_TRUE(has("Database: NOT reachable - Server connect failed: no route"));
    EXPECT_EQ(lines.back(), "Ready: no");
}

TEST_F(PreflightTest, AnUpgradeStopsTheSuitesServicesWhoseSocketsAreNotAProblem) {
    EXPECT_TRUE(fake.Files().CreateFolders(std::string(kInstallDir) + "config\\").ok());
    input.oldVersion = "9.0.5";
    input.controlHttpPort = 8000;
    RunService(upgrade::kSmtpService);
    RunService(upgrade::kControlService);
    Listen(25, nullptr);  // the system does not say whose: our running SMTP service's
    Listen(8000, "control.exe");
    RefusingDatabase database;

    const PreflightReport report = RunPreflight(fake.Services(), input, &database);

    EXPECT_TRUE(report.upgrade);
    EXPECT_EQ(report.oldVersion, "9.0.5");
    EXPECT_TRUE(report.portsHeld.empty());
    EXPECT_EQ(report.servicesToStop,
              (std::vector<std::string>{"Corvane SMTP", "Corvane Control / Web / FTP"}));
    EXPECT_FALSE(report.databaseTested) << "no database was given";
    EXPECT_EQ(report.Problems(), 0);
    const std::vector<std::string> lines = PreflightLines(report);
    EXPECT_EQ(lines[1], "Upgrade from 9.0.5 in \"D:\\Mail\\Tolva\\\"");
    EXPECT_EQ(lines.back(), "Ready: yes");
}

}  // namespace
}  // namespace tolva::setup

// Under Wine: the post-install calls reach the stand-in automation library registered in the
// prefix, as its call log shows; the connection test names the client libraries Windows lacks.

#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_system.h"
#include "platform/win32/win32_platform.h"
#include "provisioning/connection_test.h"
#include "provisioning/server_automation.h"

namespace tolva::provisioning {
namespace {

constexpr char kInstallFolder[] = "C:\\Tolva Server\\";
constexpr char kCallLog[] = "C:\\Tolva Server\\logs\\standin-corvanecom.log";

class ScriptedWizard : public PostInstallWizardWindow {
public:
    explicit ScriptedWizard(bool finish) : finish_(finish) {}
    bool ShowWizard() override { return finish_; }
    WizardEntries Entries() const override {
        return {u"mail.example.com", u"example.com", u" admin ", u"pw"};
    }

private:
    bool finish_;
};

// The log's lines with the instance numbers left out ("#1" becomes "#").
// The setup log's lines.
struct RecordingLog : util::SetupLogSink {
    void Write(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

std::vector<std::string> LogLines(platform::FileSystem& files) {
    std::string content;
    std::vector<std::string> lines;
    if (!files.ReadWholeFile(kCallLog, content).ok()) {
        return lines;
    }
    std::istringstream stream(content);
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        size_t hash = line.find(" #");
        size_t end = line.find(' ', hash + 1);
        if (hash != std::string::npos && end != std::string::npos) {
            line.erase(hash + 2, end - hash - 2);
        }
        lines.push_back(line);
    }
    return lines;
}

class StandinAutomationTest : public ::testing::Test {
protected:
    static std::string Library() { return std::string(kInstallFolder) + "corvanecom.dll"; }

    void SetUp() override {
        ASSERT_TRUE(files.CreateFolders(kInstallFolder).ok());
        // The build tree is a host folder, which Wine shows on drive Z:.
        std::string built = std::string("Z:") + TOLVA_CORVANECOM;
        for (char& c : built) {
            if (c == '/') {
                c = '\\';
            }
        }
        // Once copied, the library stays loaded in this process and cannot be replaced.
        if (!files.FileExists(Library())) {
            ASSERT_TRUE(files.CopyOver(built, Library()).ok());
        }
        platform::Status status = automation.RegisterServer(Library(), false);
        ASSERT_TRUE(status.ok()) << status.what();
        (void)files.RemoveFile(kCallLog);
    }
    void TearDown() override { EXPECT_TRUE(automation.RegisterServer(Library(), true).ok()); }

    platform::Win32Platform windows;
    platform::FileSystem& files = *windows.Services().files;
    platform::Automation& automation = *windows.Services().automation;
    platform::FakeSystem clock;
};

TEST_F(StandinAutomationTest, FinishedWizardReachesTheServerObjects) {
    ScriptedWizard wizard(true);
    RunPostInstallWizard(wizard, automation, *windows.Services().system);
    const std::vector<std::string> expected = {
        "CorvaneServer.DomainObject # created",
        "CorvaneServer.DomainObject # New(BSTR \"example.com\")",
        "CorvaneServer.DomainObject # SetProperty(BSTR \"D_AdminEmail\", BSTR "
        "\"admin@example.com\")",
        "CorvaneServer.DomainObject # SetProperty(BSTR \"D_Postmaster\", BSTR "
        "\"postmaster;admin;administrator;supervisor;hostmaster;webmaster;abuse\")",
        "CorvaneServer.DomainObject # Save()",
        "CorvaneServer.APIObject # created",
        "CorvaneServer.APIObject # MakePrimaryDomain(BSTR \"example.com\")",
        "CorvaneServer.APIObject # SetProperty(BSTR \"C_Mail_SMTP_General_HostName\", BSTR "
        "\"mail.example.com\")",
        "CorvaneServer.APIObject # Save()",
        "CorvaneServer.AccountObject # created",
        "CorvaneServer.AccountObject # New(BSTR \"admin@example.com\")",
        "CorvaneServer.AccountObject # SetProperty(BSTR \"U_Alias\", BSTR \"admin\")",
        "CorvaneServer.AccountObject # SetProperty(BSTR \"U_Mailbox\", BSTR \"admin\")",
        "CorvaneServer.AccountObject # SetProperty(BSTR \"U_Password\", BSTR \"**\")",
        "CorvaneServer.AccountObject # SetProperty(BSTR \"U_Name\", BSTR& \"Admin\")",
        "CorvaneServer.AccountObject # SetProperty(BSTR \"U_Admin\", BOOL -1)",
        "CorvaneServer.AccountObject # Save()",
    };
    EXPECT_EQ(LogLines(files), expected);
}

TEST_F(StandinAutomationTest, SwitchToDatabaseStorageCallsInOrder) {
    RecordingLog log;
    SwitchToDatabaseStorage(automation, clock, "mail;sa;secret;db1;2;1|b|v|pass|k|2|1", log);
    EXPECT_TRUE(log.lines.empty());
    auto createTables = [&](int set) {
        return "CorvaneServer.APIObject # CreateTables(I4 " + std::to_string(set) +
               ", BSTR& \"mail;sa;******;db1;2;1|b|v|****|k|2|1\")";
    };
    const std::vector<std::string> expected = {
        "CorvaneServer.APIObject # created",
        createTables(2),
        createTables(3),
        createTables(0),
        "CorvaneServer.APIObject # SetProperty(BSTR \"C_System_Storage_Accounts_StorageMode\", I4 "
        "2)",
        "CorvaneServer.APIObject # Save()",
        "CorvaneServer.APIObject # created",
        "CorvaneServer.APIObject # ConvertStorage(BOOL -1)",
    };
    EXPECT_EQ(LogLines(files), expected);
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{2000, 2000}));
}

TEST_F(StandinAutomationTest, UnregisteredLibraryLeavesEverythingAlone) {
    ASSERT_TRUE(automation.RegisterServer(Library(), true).ok());
    ScriptedWizard wizard(true);
    RunPostInstallWizard(wizard, automation, *windows.Services().system);
    RecordingLog log;
    SwitchToDatabaseStorage(automation, clock, "mail;;;;0;1", log);
    EXPECT_TRUE(LogLines(files).empty());
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_TRUE(log.lines[0].starts_with(
        "Error: Switching to database storage failed at Create CorvaneServer.APIObject: "))
        << log.lines[0];
    EXPECT_TRUE(clock.Sleeps().empty());
    ASSERT_TRUE(automation.RegisterServer(Library(), false).ok());
}

TEST(ClientLibrariesOnWindowsTest, MissingClientsAreNamed) {
    platform::Win32Platform windows;
    platform::FakeDialogs dialogs;
    DatabaseConnectionTest test(*windows.Services().libraries, dialogs, *windows.Services().system,
                                "C:\\");
    struct Case {
        const char* connection;
        const char* message;
    } cases[] = {
        {"mail;sa;pw;localhost;0;2", "MySQL client library not found"},
        {"accounts.db;;;;0;3", "Failed to load SQLite3 library"},
        {"accounts.fdb;SYSDBA;pw;;0;4", "Firebird client library not found"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(test.Connect(c.connection, error));
        EXPECT_EQ(error, c.message);
    }
    // Windows has a driver manager, which knows no such data source.
    std::string error;
    EXPECT_FALSE(test.Connect("tolva-nosuch;;;;0;1", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace tolva::provisioning

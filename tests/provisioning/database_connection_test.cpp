// The connection test against real servers: MariaDB (TCP and socket), SQLite files, the embedded
// Firebird engine and unixODBC with the MariaDB and SQLite drivers, as database-servers starts
// them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/fake/fake_dialogs.h"
#include "platform/host/host_platform.h"
#include "provisioning/connection_test.h"

namespace tolva::provisioning {
namespace {

std::map<std::string, std::string> ServerFacts() {
    std::map<std::string, std::string> facts;
    const char* state = std::getenv("TOLVA_DB_STATE");
    std::ifstream file(std::string(state != nullptr ? state : ".") + "/servers.env");
    std::string line;
    while (std::getline(file, line)) {
        size_t equals = line.find('=');
        if (equals != std::string::npos) {
            facts[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return facts;
}

std::string Backslashed(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

class DatabaseConnectionTestOnServers : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        facts_ = new std::map<std::string, std::string>(ServerFacts());
        root_ = new std::string(std::filesystem::temp_directory_path() /
                                ("tolva-databases-" + std::to_string(::getpid())));
        std::filesystem::create_directories(*root_ + "/c/setup");
        std::filesystem::create_directories(*root_ + "/c/data");
        host_ = new platform::HostPlatform(*root_);
        // One set of client libraries for the whole run, as the dialog keeps it.
        test_ = new DatabaseConnectionTest(*host_->Services().libraries, dialogs_,
                                           *host_->Services().system, "C:\\setup\\");
    }
    static void TearDownTestSuite() {
        delete test_;
        delete host_;
        std::filesystem::remove_all(*root_);
        delete root_;
        delete facts_;
    }
    void SetUp() override {
        if (Fact("MARIADB_PORT").empty()) {
            GTEST_SKIP() << "database-servers has not run (TOLVA_DB_STATE)";
        }
    }

    static const std::string& Fact(const std::string& name) { return (*facts_)[name]; }
    static std::string MariaDb() { return "127.0.0.1:" + Fact("MARIADB_PORT"); }

    struct Outcome {
        bool connected;
        std::string error;
    };
    static Outcome Connect(const std::string& connection) {
        Outcome outcome;
        outcome.connected = test_->Connect(connection, outcome.error);
        return outcome;
    }

    static inline std::map<std::string, std::string>* facts_ = nullptr;
    static inline std::string* root_ = nullptr;
    static inline platform::HostPlatform* host_ = nullptr;
    static inline platform::FakeDialogs dialogs_;
    static inline DatabaseConnectionTest* test_ = nullptr;
};

TEST_F(DatabaseConnectionTestOnServers, EachClientConnects) {
    const std::string cases[] = {
        "mail;tolva;secret;" + MariaDb() + ";0;2",
        // A server value with a backslash names the local socket.
        "mail;tolva;secret;" + Backslashed(Fact("MARIADB_SOCKET")) + ";0;2",
        "C:\\data\\accounts.db;;;;0;3",
        Fact("FIREBIRD_DATABASE") + ";SYSDBA;;;0;4",
        "tolva-mariadb;tolva;secret;;0;1",
        "tolva-sqlite;;;;2;0",
        // The attributes reach the driver only through SQLDriverConnect: the DSN has no port.
        "tolva-bare?DATABASE=mail&PORT=" + Fact("MARIADB_PORT") + ";tolva;secret;;0;1",
    };
    for (const std::string& connection : cases) {
        Outcome outcome = Connect(connection);
        EXPECT_TRUE(outcome.connected) << connection << ": " << outcome.error;
    }
}

TEST_F(DatabaseConnectionTestOnServers, FailuresGiveTheClientsText) {
    struct Case {
        std::string connection;
        std::string start;     // the error begins so
        std::string contains;  // and holds this client text
    } cases[] = {
        {"mail;tolva;wrongpw;" + MariaDb() + ";0;2", "Server connect failed: ", "Access denied"},
        {"nosuch;tolva;secret;" + MariaDb() + ";0;2",
         "failed to select database: ", "Unknown database 'nosuch'"},
        {"mail;tolva;secret;127.0.0.1:1;0;2", "Server connect failed: ", "Can't connect"},
        {"C:\\missing\\accounts.db;;;;0;3",
         "Failed to open database \"C:\\missing\\accounts.db\" : ", "unable to open database file"},
        {Fact("FIREBIRD_DATABASE") + ".missing;SYSDBA;;;0;4", "I/O error",
         "No such file or directory"},
        {"tolva-mariadb;tolva;wrongpw;;0;1", "", "Access denied"},
        {"tolva-nosuch;;;;0;1", "[unixODBC][Driver Manager]Data source name not found", ""},
        {"tolva-bare?DATABASE=nosuch&PORT=" + Fact("MARIADB_PORT") + ";tolva;secret;;0;1", "",
         "Unknown database 'nosuch'"},
    };
    for (const Case& c : cases) {
        Outcome outcome = Connect(c.connection);
        EXPECT_FALSE(outcome.connected) << c.connection;
        EXPECT_TRUE(outcome.error.starts_with(c.start)) << c.connection << ": " << outcome.error;
        EXPECT_NE(outcome.error.find(c.contains), std::string::npos)
            << c.connection << ": " << outcome.error;
        EXPECT_EQ(outcome.error.find("wrongpw"), std::string::npos)
            << "password in " << outcome.error;
    }
}

TEST_F(DatabaseConnectionTestOnServers, BackupTakesOverFromAFailingPrimary) {
    Outcome rescued = Connect("nosuch;tolva;secret;" + MariaDb() + ";0;2|mail|tolva|secret|" +
                              MariaDb() + "|0|2");
    EXPECT_TRUE(rescued.connected) << rescued.error;

    // With both failing, the backup's error is the one reported.
    Outcome failed = Connect("nosuch;tolva;secret;" + MariaDb() + ";0;2|other|tolva|secret|" +
                             MariaDb() + "|0|2");
    EXPECT_FALSE(failed.connected);
    EXPECT_EQ(failed.error.rfind("failed to select database: ", 0), 0u) << failed.error;
    EXPECT_NE(failed.error.find("'other'"), std::string::npos) << failed.error;
}

TEST_F(DatabaseConnectionTestOnServers, RelativeSqliteFileLivesInTheProgramFolder) {
    Outcome outcome = Connect("relative.db;;;;0;3");
    ASSERT_TRUE(outcome.connected) << outcome.error;
    EXPECT_TRUE(std::filesystem::exists(*root_ + "/c/setup/relative.db"));
}

}  // namespace
}  // namespace tolva::provisioning

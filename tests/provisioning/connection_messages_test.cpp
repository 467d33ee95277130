#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_libraries.h"
#include "platform/fake/memory_file_system.h"
#include "platform/host/host_platform.h"
#include "provisioning/client_libraries.h"
#include "provisioning/connection_test.h"

namespace tolva::provisioning {
namespace {

using platform::DialogIcon;

class ConnectionMessagesTest : public ::testing::Test {
protected:
    ConnectionMessagesTest()
        : root_(std::filesystem::temp_directory_path() / "tolva-messages-XXXXXX") {
        if (::mkdtemp(root_.data()) == nullptr) {
            std::abort();
        }
        std::filesystem::create_directories(root_ + "/c/setup");
        host_ = std::make_unique<platform::HostPlatform>(root_);
    }
    ~ConnectionMessagesTest() override {
        host_.reset();
        std::filesystem::remove_all(root_);
    }
    const platform::System& System() { return *host_->Services().system; }

    std::string root_;
    std::unique_ptr<platform::HostPlatform> host_;
    platform::FakeDialogs dialogs;
};

TEST_F(ConnectionMessagesTest, MissingClientLibraryIsNamedInTheErrorBox) {
    struct Case {
        int32_t driver;
        std::u16string message;
    } cases[] = {
        {0, u"ODBC driver manager not found"},     {1, u"ODBC driver manager not found"},
        {2, u"MySQL client library not found"},    {3, u"Failed to load SQLite3 library"},
        {4, u"Firebird client library not found"},
    };
    for (const Case& c : cases) {
        // A machine on which no client library is installed.
        platform::MemoryFileSystem files;
        platform::FakeLibraries none(files);
        DatabaseConnectionTest test(none, dialogs, System(), "C:\\setup\\");
        ConnectionFields fields{u"mail", u"sa", u"pw", u"", u"backup", u"", u"", u"", 0, c.driver};
        EXPECT_FALSE(test.TestDatabaseConnection(fields, true));
        ASSERT_FALSE(dialogs.Shown().empty());
        EXPECT_EQ(dialogs.Shown().back().text, c.message) << c.driver;
        EXPECT_EQ(dialogs.Shown().back().caption, u"Error");
        EXPECT_EQ(dialogs.Shown().back().icon, DialogIcon::kError);
        EXPECT_FALSE(none.Loads().empty());
    }
    EXPECT_EQ(dialogs.Shown().size(), std::size(cases)) << "one box per test, also with a backup";
}

TEST_F(ConnectionMessagesTest, SuccessIsShownUnlessQuiet) {
    DatabaseConnectionTest test(*host_->Services().libraries, dialogs, System(), "C:\\setup\\");
    ConnectionFields fields{u"C:\\setup\\accounts.db", u"", u"", u"", u"", u"", u"", u"", 0, 3};
    EXPECT_TRUE(test.TestDatabaseConnection(fields, true));
    EXPECT_TRUE(dialogs.Shown().empty());

    EXPECT_TRUE(test.TestDatabaseConnection(fields, false));
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].text, u"Database connection test successful.");
    EXPECT_EQ(dialogs.Shown()[0].caption, u"Information");
    EXPECT_EQ(dialogs.Shown()[0].icon, DialogIcon::kInformation);
}

TEST_F(ConnectionMessagesTest, FailingOpenNamesTheFile) {
    DatabaseConnectionTest test(*host_->Services().libraries, dialogs, System(), "C:\\setup\\");
    ConnectionFields fields{u"no\\such\\folder\\a.db", u"", u"", u"", u"", u"", u"", u"", 0, 3};
    EXPECT_FALSE(test.TestDatabaseConnection(fields, true));
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].text,
              u"Failed to open database \"C:\\setup\\no\\such\\folder\\a.db\" : unable to open "
              u"database file");
}

// A driver manager in memory that takes every connection and keeps the text it was given.
struct FakeDriverManager {
    static inline std::string text;

    static int16_t TOLVA_CLIENT_CALL AllocHandle(int16_t, void*, void** handle) {
        static int handles;
        *handle = &handles;
        return 0;
    }
    static int16_t TOLVA_CLIENT_CALL SetEnvAttr(void*, int32_t, void*, int32_t) { return 0; }
    static int16_t TOLVA_CLIENT_CALL Connect(void*, const char*, int16_t, const char*, int16_t,
                                             const char*, int16_t) {
        return 0;
    }
    static int16_t TOLVA_CLIENT_CALL DriverConnect(void*, void*, const char* in, int16_t, char*,
                                                   int16_t, int16_t*, uint16_t) {
        text = in;
        return 0;
    }
    static int16_t TOLVA_CLIENT_CALL GetDiagRec(int16_t, void*, int16_t, char*, int32_t*, char*,
                                                int16_t, int16_t*) {
        return 100;  // SQL_NO_DATA
    }
    static int16_t TOLVA_CLIENT_CALL Disconnect(void*) { return 0; }
    static int16_t TOLVA_CLIENT_CALL FreeHandle(int16_t, void*) { return 0; }
};

template <typename Function>
void* Entry(Function function) {
    return reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(function));
}

TEST_F(ConnectionMessagesTest, DriverConnectBracesUserAndPasswordThatHoldReservedCharacters) {
    platform::MemoryFileSystem files;
    platform::FakeLibraries libraries(files);
    libraries.Add(std::string(kClientLibraryNames[0][0]),
                  {{"SQLAllocHandle", Entry(&FakeDriverManager::AllocHandle)},
                   {"SQLSetEnvAttr", Entry(&FakeDriverManager::SetEnvAttr)},
                   {"SQLConnect", Entry(&FakeDriverManager::Connect)},
                   {"SQLDriverConnect", Entry(&FakeDriverManager::DriverConnect)},
                   {"SQLGetDiagRec", Entry(&FakeDriverManager::GetDiagRec)},
                   {"SQLDisconnect", Entry(&FakeDriverManager::Disconnect)},
                   {"SQLFreeHandle", Entry(&FakeDriverManager::FreeHandle)}});
    const struct {
        const char* connection;
        const char* text;
    } cases[] = {
        {"mail?PORT=3306;sa;secret;;0;1", "DSN=mail;UID=sa;PWD=secret;PORT=3306;"},
        {"mail?PORT=3306;a=b;p{w}d!;;0;1", "DSN=mail;UID={a=b};PWD={p{w}}d!};PORT=3306;"},
        {"mail?PORT=3306;sa;x@y (z)*;;0;1", "DSN=mail;UID=sa;PWD={x@y (z)*};PORT=3306;"},
    };
    DatabaseConnectionTest test(libraries, dialogs, System(), "C:\\setup\\");
    for (const auto& c : cases) {
        std::string error;
        EXPECT_TRUE(test.Connect(c.connection, error)) << c.connection << ": " << error;
        EXPECT_EQ(FakeDriverManager::text, c.text) << c.connection;
    }
}

}  // namespace
}  // namespace tolva::provisioning

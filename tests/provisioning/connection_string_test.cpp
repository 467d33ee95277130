#include "provisioning/connection_string.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_system.h"
#include "provisioning/connection_test.h"
#include "provisioning/database_client.h"

namespace tolva::provisioning {
namespace {

constexpr int32_t kDefaultSyntax = 5;

class ConnectionStringTest : public ::testing::Test {
protected:
    ConnectionFields Apply(std::string_view connection) {
        ConnectionFields fields;
        ApplyConnectionString(connection, kDefaultSyntax, system, fields);
        return fields;
    }
    platform::FakeSystem system;
};

TEST_F(ConnectionStringTest, FieldsBuildTheString) {
    struct Case {
        ConnectionFields fields;
        std::string expected;
    } cases[] = {
        {{u"mail", u"sa", u"", u"db1", u"", u"", u"", u"", 2, 1}, "mail;sa;;db1;2;1"},
        {{u"a", u"u", u"p", u"h", u"b", u"v", u"q", u"k", 3, 2}, "a;u;p;h;3;2|b|v|q|k|3|2"},
        // A backup without a DSN is left out, whatever else it holds.
        {{u"a", u"", u"", u"", u"", u"v", u"q", u"k", 0, 0}, "a;;;;0;0"},
        {{u"C:\\data\\m\u00e4il.db", u"", u"", u"", u"", u"", u"", u"", 7, 3},
         "C:\\data\\m\xe4il.db;;;;7;3"},
        {{}, ";;;;0;0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildConnectionString(c.fields, system), c.expected);
    }
}

TEST_F(ConnectionStringTest, StringFillsTheFields) {
    struct Case {
        std::string connection;
        ConnectionFields expected;
    } cases[] = {
        {"mail;sa;;db1;2;1", {u"mail", u"sa", u"", u"db1", u"", u"", u"", u"", 2, 1}},
        {"a;u;p;h;3;2|b;v;q;k;3;2", {u"a", u"u", u"p", u"h", u"b", u"v", u"q", u"k", 3, 2}},
        {"a;u;p;h;3;2|b|v|q|k|3|2", {u"a", u"u", u"p", u"h", u"b", u"v", u"q", u"k", 3, 2}},
        // Empty: the default syntax and driver "Default".
        {"", {u"", u"", u"", u"", u"", u"", u"", u"", kDefaultSyntax, 0}},
        {"a;u", {u"a", u"u", u"", u"", u"", u"", u"", u"", kDefaultSyntax, 0}},
        {"a;u;p;h;;x", {u"a", u"u", u"p", u"h", u"", u"", u"", u"", kDefaultSyntax, 0}},
        // Numbers outside the lists give the defaults instead of an item that does not exist.
        {"a;;;;9;7", {u"a", u"", u"", u"", u"", u"", u"", u"", kDefaultSyntax, 0}},
        {"a;;;;-1;-2", {u"a", u"", u"", u"", u"", u"", u"", u"", kDefaultSyntax, 0}},
        // The backup part's syntax and driver are not read; a short backup leaves fields empty.
        {"a;;;;1;1|b|v", {u"a", u"", u"", u"", u"b", u"v", u"", u"", 1, 1}},
        {"\xe4;;;;0;0", {u"\u00e4", u"", u"", u"", u"", u"", u"", u"", 0, 0}},
    };
    for (const Case& c : cases) {
        ConnectionFields fields = Apply(c.connection);
        const ConnectionFields& e = c.expected;
        EXPECT_TRUE(fields.primaryName == e.primaryName && fields.primaryUser == e.primaryUser &&
                    fields.primaryPassword == e.primaryPassword &&
                    fields.primaryHost == e.primaryHost && fields.backupName == e.backupName &&
                    fields.backupUser == e.backupUser &&
                    fields.backupPassword == e.backupPassword && fields.backupHost == e.backupHost)
            << c.connection;
        EXPECT_EQ(fields.syntax, e.syntax) << c.connection;
        EXPECT_EQ(fields.driver, e.driver) << c.connection;
    }
}

TEST_F(ConnectionStringTest, RoundTripKeepsTheString) {
    for (const char* connection : {"mail;sa;;db1;2;1", "a;u;p;h;3;2|b|v|q|k|3|2",
                                   "x?a=1&b=2;u;p;;0;1", "relative.db;;;;7;3"}) {
        EXPECT_EQ(BuildConnectionString(Apply(connection), system), connection);
    }
}

TEST(ConnectionSettingsTest, ParsesBothPartsAndChoosesTheClient) {
    struct Case {
        std::string connection;
        ClientKind client;
        int32_t syntax;
        bool backup;
    } cases[] = {
        {"mail;sa;;db1;2;0", ClientKind::kOdbc, 2, false},
        {"mail;sa;;db1;2;1", ClientKind::kOdbc, 2, false},
        {"mail;sa;;db1;0;2", ClientKind::kMySql, 3, false},
        {"mail;sa;;db1;2;2", ClientKind::kMySql, 3, false},
        {"f.db;;;;1;3", ClientKind::kSqlite, 7, false},
        {"f.fdb;;;;4;4", ClientKind::kFirebird, 6, false},
        {"mail;;;;;", ClientKind::kOdbc, 0, false},
        {"a;u;p;h;3;2|b|v|q|k|3|2", ClientKind::kMySql, 3, true},
        {"a;u;p;h;3;2|b;v;q;k;3;2", ClientKind::kMySql, 3, true},
        {"a;u;p;h;3;2|", ClientKind::kMySql, 3, false},
    };
    for (const Case& c : cases) {
        ConnectionSettings settings = ParseConnectionString(c.connection);
        ClientChoice choice = ChooseClient(settings);
        EXPECT_EQ(choice.client, c.client) << c.connection;
        EXPECT_EQ(choice.syntax, c.syntax) << c.connection;
        EXPECT_EQ(settings.backup.has_value(), c.backup) << c.connection;
    }
    ConnectionSettings both = ParseConnectionString("a;u;p;h;3;2|b|v|q|k|3|2");
    EXPECT_EQ(both.primary.dsn + both.primary.user + both.primary.password + both.primary.server,
              "auph");
    ASSERT_TRUE(both.backup);
    EXPECT_EQ(both.backup->dsn + both.backup->user + both.backup->password + both.backup->server,
              "bvqk");
}

// The MySQL server value as each client library takes it.
TEST(MySqlEndpointTest, HostPortOrLocalPipeOrSocket) {
    const struct {
        const char* server;
        bool usesPipes;
        MySqlEndpoint endpoint;
    } cases[] = {
        {"db1", true, {"db1", 0, ""}},
        {"db1:3307", false, {"db1", 3307, ""}},
        {"", true, {"", 0, ""}},
        {"\\\\.\\pipe\\MySQL", true, {".", 0, "MySQL"}},
        {".\\MySQL", true, {".", 0, "MySQL"}},
        {"\\run\\mysqld\\mysqld.sock", false, {"", 0, "/run/mysqld/mysqld.sock"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MySqlEndpointOf(c.server, c.usesPipes), c.endpoint) << c.server;
    }
}

}  // namespace
}  // namespace tolva::provisioning

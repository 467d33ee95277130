#pragma once
// The database connection string: a primary part "dsn;user;password;server;syntax;driver",
// optionally followed by a backup part "|dsn|user|password|server|syntax|driver". Values are
// taken as typed, without escaping; syntax and driver are the item numbers of the lists below.
// The database dialog keeps its fields in ConnectionFields and turns them into the string and back.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace tolva::provisioning {

// Items of the dialog's "Syntax:" list, by number.
inline constexpr std::array<std::u16string_view, 8> kSyntaxItems{
    u"Default",   u"MS Access", u"MS SQL",   u"My SQL",
    u"InterBase", u"Oracle",    u"Firebird", u"SQLite"};
inline constexpr int32_t kMySqlSyntax = 3;
inline constexpr int32_t kFirebirdSyntax = 6;
inline constexpr int32_t kSqliteSyntax = 7;

// Items of the dialog's "Driver:" list, by number.
inline constexpr std::array<std::u16string_view, 5> kDriverItems{u"Default", u"ODBC", u"My SQL",
                                                                 u"SQLite", u"Firebird"};
enum class DatabaseDriver : int32_t {
    kDefault = 0,
    kOdbc = 1,
    kMySql = 2,
    kSqlite = 3,
    kFirebird = 4
};

// The dialog's fields as the user sees them.
struct ConnectionFields {
    std::u16string primaryName;  // PNameEdit, the DSN
    std::u16string primaryUser;
    std::u16string primaryPassword;
    std::u16string primaryHost;
    std::u16string backupName;  // BNameEdit
    std::u16string backupUser;
    std::u16string backupPassword;
    std::u16string backupHost;
    int32_t syntax = 0;  // DBType index
    int32_t driver = 0;  // DBDriver index
};

// The fields that go into the connection string, in its order.
enum class ConnectionField {
    kPrimaryName,
    kPrimaryUser,
    kPrimaryPassword,
    kPrimaryHost,
    kBackupName,
    kBackupUser,
    kBackupPassword,
    kBackupHost
};
// The first field the string would take whose value holds ";" or "|": the string cannot carry it,
// and the value after the separator would be read as the next one (a password "x;host2" would
// move the server to host2). None when every value fits.
std::optional<ConnectionField> FieldHoldingSeparator(const ConnectionFields& fields);

// Fills the fields from a connection string. Missing values give empty fields; the syntax is the
// string's when it has one, else defaultSyntax; the driver is 0 when missing or not a number.
// A syntax or driver outside its list gives the default as well. The backup part's syntax and
// driver are not read.
void ApplyConnectionString(std::string_view connection, int32_t defaultSyntax,
                           const platform::System& system, ConnectionFields& fields);
// The connection string of the fields, in the system code page; the backup part only when the
// backup DSN is not empty.
std::string BuildConnectionString(const ConnectionFields& fields, const platform::System& system);

// One connection's values, as a connection test uses them.
struct ConnectionPart {
    std::string dsn;
    std::string user;
    std::string password;
    std::string server;
};

struct ConnectionSettings {
    ConnectionPart primary;
    // When the text after the first "|" is not empty; its values are separated by "|" or ";".
    std::optional<ConnectionPart> backup;
    int32_t syntax = 0;
    DatabaseDriver driver = DatabaseDriver::kDefault;
};

ConnectionSettings ParseConnectionString(std::string_view connection);

// The connection string with the password of the primary and of the backup part emptied, every
// other character as it was.
std::string WithoutPasswords(std::string_view connection);

}  // namespace tolva::provisioning

#include "provisioning/connection_test.h"

#include <memory>

#include "i18n/ui_strings.h"
#include "provisioning/database_client.h"

namespace tolva::provisioning {
namespace {

// Shown as it is: this text is not in the UI string table.
constexpr std::u16string_view kTestSuccessful = u"Database connection test successful.";

}  // namespace

ClientChoice ChooseClient(const ConnectionSettings& settings) {
    ClientChoice choice;
    choice.syntax = settings.syntax;
    switch (settings.driver) {
        case DatabaseDriver::kDefault:
        case DatabaseDriver::kOdbc:
            choice.client = ClientKind::kOdbc;
            break;
        case DatabaseDriver::kMySql:
            choice.client = ClientKind::kMySql;
            choice.syntax = kMySqlSyntax;
            break;
        case DatabaseDriver::kSqlite:
            choice.client = ClientKind::kSqlite;
            choice.syntax = kSqliteSyntax;
            break;
        case DatabaseDriver::kFirebird:
            choice.client = ClientKind::kFirebird;
            choice.syntax = kFirebirdSyntax;
            break;
    }
    return choice;
}

DatabaseConnectionTest::DatabaseConnectionTest(platform::Libraries& libraries,
                                               platform::Dialogs& dialogs,
                                               const platform::System& system,
                                               std::string programFolder)
    : libraries_(libraries),
      dialogs_(dialogs),
      system_(system),
      programFolder_(std::move(programFolder)) {}

bool DatabaseConnectionTest::Connect(std::string_view connection, std::string& error) {
    const ConnectionSettings settings = ParseConnectionString(connection);
    std::unique_ptr<DatabaseClient> client;
    switch (ChooseClient(settings).client) {
        case ClientKind::kOdbc:
            client = MakeOdbcClient(libraries_);
            break;
        case ClientKind::kMySql:
            client = MakeMySqlClient(libraries_);
            break;
        case ClientKind::kSqlite:
            client = MakeSqliteClient(libraries_, system_, programFolder_);
            break;
        case ClientKind::kFirebird:
            client = MakeFirebirdClient(libraries_);
            break;
    }
    bool connected = client->Connect(settings.primary, error);
    if (!connected && settings.backup) {
        client->Disconnect();
        connected = client->Connect(*settings.backup, error);
    }
    client->Disconnect();
    if (connected) {
        error.clear();
    }
    return connected;
}

bool DatabaseConnectionTest::TestDatabaseConnection(const ConnectionFields& fields, bool quiet) {
    std::string error;
    if (Connect(BuildConnectionString(fields, system_), error)) {
        if (!quiet) {
            dialogs_.ShowMessageBox({std::u16string(kTestSuccessful),
                                     i18n::Text(i18n::cInformation), platform::DialogButtons::kOk,
                                     platform::DialogIcon::kInformation});
        }
        return true;
    }
    dialogs_.ShowMessageBox({system_.AnsiToWide(error), i18n::Text(i18n::cError),
                             platform::DialogButtons::kOk, platform::DialogIcon::kError});
    return false;
}

}  // namespace tolva::provisioning

#pragma once
// The database dialog's connection test with the installer's own clients: the client chosen by
// the driver, the primary connection and, when it fails, the backup connection, and the message
// the user sees. Nothing is stored and the test connection is closed in any case.

#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/libraries.h"
#include "platform/system.h"
#include "provisioning/client_libraries.h"
#include "provisioning/connection_string.h"

namespace tolva::provisioning {

struct ClientChoice {
    ClientKind client = ClientKind::kOdbc;
    int32_t syntax = 0;  // the SQL dialect the connection is given
};

// Driver 0 and 1 use ODBC; MySQL, SQLite and Firebird force their own syntax.
ClientChoice ChooseClient(const ConnectionSettings& settings);

class DatabaseConnectionTest {
public:
    // programFolder: the folder of the running program, with a trailing backslash; relative SQLite
    // file names are taken there.
    DatabaseConnectionTest(platform::Libraries& libraries, platform::Dialogs& dialogs,
                           const platform::System& system, std::string programFolder);

    // True when the primary or else the backup connection opens; otherwise error holds the text of
    // the last failure.
    bool Connect(std::string_view connection, std::string& error);
    // Tests the connection of the dialog's fields. An error is always shown; success only when
    // not quiet.
    bool TestDatabaseConnection(const ConnectionFields& fields, bool quiet);

private:
    ClientLibraries libraries_;
    platform::Dialogs& dialogs_;
    const platform::System& system_;
    std::string programFolder_;
};

}  // namespace tolva::provisioning

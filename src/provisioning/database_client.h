#pragma once
// The installer's own database clients for the connection test: ODBC through the driver manager,
// the MySQL client, SQLite and the Firebird client, each over its library loaded at run time.

#include <memory>
#include <string>

#include "platform/system.h"
#include "provisioning/client_libraries.h"
#include "provisioning/connection_string.h"

namespace tolva::provisioning {

class DatabaseClient {
public:
    virtual ~DatabaseClient() = default;
    // Opens the connection; false with the client's error text. A missing library is an error too.
    virtual bool Connect(const ConnectionPart& part, std::string& error) = 0;
    // Closes what Connect opened; nothing when nothing is open.
    virtual void Disconnect() = 0;
};

// DSN: a data source name, optionally followed by "?" and "&"-separated key=value attributes.
std::unique_ptr<DatabaseClient> MakeOdbcClient(ClientLibraries& libraries);
// DSN: the database; server: host, host ":" port, or a local pipe or socket name with a backslash.
std::unique_ptr<DatabaseClient> MakeMySqlClient(ClientLibraries& libraries);

// Where the MySQL client connects: a host and port (0: the client's default) or a socket.
struct MySqlEndpoint {
    std::string host;
    unsigned int port = 0;
    std::string socket;
    bool operator==(const MySqlEndpoint&) const = default;
};
// The endpoint of a server value. A value with a backslash names a local pipe or socket: for a
// client that uses pipes the host "." and the pipe's name (the last part, so "\\.\pipe\MySQL" and
// ".\MySQL" both give "MySQL"), otherwise the socket's path with "/" for "\".
MySqlEndpoint MySqlEndpointOf(std::string_view server, bool usesPipes);
// DSN: the database file; a relative path is taken in programFolder (with a trailing backslash).
std::unique_ptr<DatabaseClient> MakeSqliteClient(ClientLibraries& libraries,
                                                 const platform::System& system,
                                                 std::string programFolder);
// DSN: the database as the Firebird client takes it.
std::unique_ptr<DatabaseClient> MakeFirebirdClient(ClientLibraries& libraries);

}  // namespace tolva::provisioning

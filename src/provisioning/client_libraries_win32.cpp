#include "provisioning/client_libraries.h"

namespace tolva::provisioning {
namespace {

constexpr std::string_view kOdbc[] = {"odbc32.dll"};
constexpr std::string_view kMySql[] = {"libmysql.dll"};
constexpr std::string_view kSqlite[] = {"sqlite3.dll"};
constexpr std::string_view kFirebird[] = {"fbembed.dll", "fbclient.dll", "gds32.dll"};

}  // namespace

std::span<const std::string_view> ClientLibraryNames(ClientKind client) {
    switch (client) {
        case ClientKind::kOdbc:
            return kOdbc;
        case ClientKind::kMySql:
            return kMySql;
        case ClientKind::kSqlite:
            return kSqlite;
        case ClientKind::kFirebird:
            return kFirebird;
    }
    return {};
}

std::string LocalSocketName(std::string_view server) {
    return std::string(server);
}

}  // namespace tolva::provisioning

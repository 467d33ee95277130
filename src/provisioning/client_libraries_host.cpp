#include <algorithm>

#include "provisioning/client_libraries.h"

namespace tolva::provisioning {
namespace {

constexpr std::string_view kOdbc[] = {"libodbc.so.2"};
constexpr std::string_view kMySql[] = {"libmariadb.so.3"};
constexpr std::string_view kSqlite[] = {"libsqlite3.so.0"};
constexpr std::string_view kFirebird[] = {"libfbclient.so.2"};

}  // namespace

const std::array<std::span<const std::string_view>, 4> kClientLibraryNames{kOdbc, kMySql, kSqlite,
                                                                           kFirebird};

// A socket path written the Windows way ("\run\mysqld\mysqld.sock").
std::string LocalSocketName(std::string_view server) {
    std::string name(server);
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

}  // namespace tolva::provisioning

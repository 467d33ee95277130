#include "provisioning/client_libraries.h"

namespace tolva::provisioning {
namespace {

constexpr std::string_view kOdbc[] = {"odbc32.dll"};
constexpr std::string_view kMySql[] = {"libmysql.dll"};
constexpr std::string_view kSqlite[] = {"sqlite3.dll"};
constexpr std::string_view kFirebird[] = {"fbembed.dll", "fbclient.dll", "gds32.dll"};

}  // namespace

const std::array<std::span<const std::string_view>, 4> kClientLibraryNames{kOdbc, kMySql, kSqlite,
                                                                           kFirebird};

const bool kMySqlClientUsesPipes = true;

}  // namespace tolva::provisioning

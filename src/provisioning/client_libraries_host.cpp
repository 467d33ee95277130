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

const bool kMySqlClientUsesPipes = false;

}  // namespace tolva::provisioning

#include "provisioning/odbc_data_sources.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_registry.h"

namespace tolva::provisioning {
namespace {

using platform::RegistryRoot;

constexpr char kSources[] = "SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources";

TEST(OdbcDataSourcesTest, ListsTheNamesSortedPerRoot) {
    platform::FakeRegistry registry;
    for (const char* name : {"mail", "Accounts", "zeta", "Beta"}) {
        ASSERT_TRUE(
            registry.WriteString(RegistryRoot::kLocalMachine, kSources, name, "SQLite3").ok());
    }
    ASSERT_TRUE(registry.WriteString(RegistryRoot::kCurrentUser, kSources, "mine", "MariaDB").ok());

    EXPECT_EQ(ListOdbcDataSources(registry, RegistryRoot::kLocalMachine),
              (std::vector<std::string>{"Accounts", "Beta", "mail", "zeta"}));
    EXPECT_EQ(ListOdbcDataSources(registry, RegistryRoot::kCurrentUser),
              (std::vector<std::string>{"mine"}));
}

TEST(OdbcDataSourcesTest, MissingKeyGivesAnEmptyList) {
    platform::FakeRegistry registry;
    EXPECT_TRUE(ListOdbcDataSources(registry, RegistryRoot::kLocalMachine).empty());
}

}  // namespace
}  // namespace tolva::provisioning

// The package table as GetPackages reads it.

#include <gtest/gtest.h>

#include "setup/package_table.h"

namespace tolva::setup {
namespace {

TEST(GetPackages, RowsOfThePackageTable) {
    struct Case {
        int32_t key;
        TPackageList packages;
    };
    const Case cases[] = {
        {component_key::kServicesAndCoreFiles, {{"setup.dat", ""}, {"setupphp.dat", ""}}},
        {component_key::kAdministrationInterface, {{"setupconfig.dat", ""}}},
        {component_key::kDesktopIcon, {}},
        {component_key::kWebmail, {{"setupwebmail2.dat", ""}}},
        {component_key::kAntiSpam, {{"setupas.dat", "spam\\"}}},
        {component_key::kAntiVirus, {{"setupavast.dat", "avast\\"}}},
        {component_key::kGroupWare, {}},
        {component_key::kLdap, {{"setupldap.dat", "ldap\\"}}},
        {component_key::kWizards, {{"setupwizard.dat", "wizards\\"}}},
        {component_key::kASpell, {{"setupaspell.dat", "aspell\\"}}},
        // A group heading or an unknown key reads the first row.
        {component_key::kModulesGroup, {{"setup.dat", ""}, {"setupphp.dat", ""}}},
        {-1, {{"setup.dat", ""}, {"setupphp.dat", ""}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetPackages(c.key), c.packages) << "key " << c.key;
    }
}

}  // namespace
}  // namespace tolva::setup

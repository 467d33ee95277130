#include <gtest/gtest.h>

#include "upgrade/upgrade_machine.h"

namespace tolva::upgrade {
namespace {

constexpr size_t kAccountRecordSize = 2848;

int32_t databaseTotal = 0;
std::string databaseDomainFilter;

int32_t TOLVA_DB_CALL TotalUsers(const char* domain) {
    databaseDomainFilter = domain;
    return databaseTotal;
}

void TOLVA_DB_CALL DoneConnection() {}

// Only a small server has its IMAP rules converted by the control service while setup waits.
TEST(ImapRulesRequest, IsMadeOnlyBelowTwentyDomainsAndTwoThousandAccounts) {
    struct Case {
        const char* what;
        uint8_t storageMode;
        std::vector<size_t> accountsPerDomain;  // a users.cfg per domain
        int32_t databaseTotal;
        bool requested;
    } cases[] = {
        {"small, in files", 0, {3, 4}, 0, true},
        {"19 domains", 1, std::vector<size_t>(19, 1), 0, true},
        {"20 domains", 0, std::vector<size_t>(20, 0), 0, false},
        {"1999 accounts in files", 0, {1000, 999}, 0, true},
        {"2000 accounts in files", 1, {1000, 1000}, 0, false},
        {"1999 accounts in the database", 2, {}, 1999, true},
        {"2000 accounts in the database", 2, {3000}, 2000, false},
        {"database counts, not the files", 2, {3000}, 5, true},
        {"another storage counts no accounts", 3, {3000}, 3000, true},
    };
    for (const Case& c : cases) {
        UpgradeMachine upgrade;
        upgrade.SeedStore([&](stores::SettingsStore& seed) {
            seed.Record().SetAccountStorageMode(c.storageMode);
            for (size_t i = 0; i < c.accountsPerDomain.size(); ++i) {
                const std::string domain = "d" + std::to_string(i) + ".example";
                ASSERT_TRUE(seed.AddDomain(domain));
                const std::string folder = std::string(kConfigFolder) + domain + "\\";
                ASSERT_TRUE(upgrade.machine.files.CreateFolders(folder).ok());
                ASSERT_TRUE(upgrade.machine.files
                                .WriteWholeFile(
                                    folder + "users.cfg",
                                    std::string(c.accountsPerDomain[i] * kAccountRecordSize, '\0'))
                                .ok());
            }
        });
        databaseTotal = c.databaseTotal;
        databaseDomainFilter = "unset";
        upgrade.machine.libraries.Add(
            std::string(kInstallFolder) + "db.dll",
            {{"DBGetTotalUsers", reinterpret_cast<void*>(&TotalUsers)},
             {"DBDoneConnection", reinterpret_cast<void*>(&DoneConnection)}});

        upgrade.Run("8.9.0");
        EXPECT_EQ(upgrade.controlService.RequestCount(), c.requested ? 1u : 0u) << c.what;
        if (c.storageMode == 2) {
            EXPECT_EQ(databaseDomainFilter, "") << c.what << ": every domain";
        }
        EXPECT_FALSE(upgrade.settings.Database().IsLoaded()) << c.what;
    }
}

TEST(ImapRulesRequest, AsksTheControlServiceOnItsFirstAddressAndKeepsNoResponse) {
    struct Case {
        std::string hostAddresses;
        std::string host;
    } cases[] = {
        {"127.0.0.1;10.0.0.6", "127.0.0.1"},
        {"", "localhost"},
    };
    for (const Case& c : cases) {
        UpgradeMachine upgrade;
        upgrade.SeedSettings([&](stores::SettingsRecord& record) {
            record.SetHostAddressesEnabled(true);
            record.SetHostAddresses(c.hostAddresses);
        });
        upgrade.Run("8.9.0");
        const std::vector<testing::LoopbackRequest> requests = upgrade.controlService.Requests();
        ASSERT_EQ(requests.size(), 1u) << c.host;
        EXPECT_EQ(requests[0].path, "/admin/tools/convert_imap_rules.html");
        EXPECT_EQ(requests[0].Header("Host").rfind(c.host, 0), 0u) << requests[0].Header("Host");
        std::vector<platform::FolderEntry> temporary;
        (void)upgrade.machine.files.ListFolder(upgrade.machine.system.TempFolder(), temporary);
        EXPECT_TRUE(temporary.empty()) << "the response file is deleted";
    }
}

}  // namespace
}  // namespace tolva::upgrade

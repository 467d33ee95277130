// Domains and accounts kept by the database library, through the stand-in library.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "store_fixture.h"
#include "stores/account_store.h"
#include "util/product.h"

namespace tolva::stores {
namespace {

using testing::SettingsFile;

AccountRecord Account(const std::string& aliases, uint8_t type = AccountRecord::kUserAccount) {
    AccountRecord record;
    record.SetAccountType(type);
    record.SetAliasList(aliases);
    record.SetPassword("pw");
    return record;
}

std::string Plain(const std::vector<AccountRecord>& records) {
    std::string bytes;
    for (const AccountRecord& record : records) {
        bytes += testing::Bytes(record.bytes().data(), AccountRecord::kSize);
    }
    return bytes;
}

class DatabaseModeTest : public testing::StoreTest {
protected:
    void SetUp() override {
        storeFolder_ = machine_->ScratchFolder() + "dbstore/";
        std::filesystem::create_directories(storeFolder_);
        connection_ = storeFolder_ + ";user;password;;mysql;";
        WriteStore("domains.dat", testing::DomainsFile({"one.example", "two.example"}));
        WriteStore("one.example.users", Plain({Account("first"), Account("second;2nd")}));
        WriteStore("two.example.users", Plain({Account("a"), Account("b", 3), Account("c")}));
    }

    void InstallLibrary(const std::string& folder) {
        const std::string target = machine_->NativePath(folder + "db.dll");
        std::filesystem::create_directories(std::filesystem::path(target).parent_path());
        std::filesystem::copy_file(machine_->StandinLibrary(), target,
                                   std::filesystem::copy_options::overwrite_existing);
    }

    void WriteStore(const std::string& name, const std::string& content) {
        WriteStoreIn(storeFolder_, name, content);
    }

    static void WriteStoreIn(const std::string& folder, const std::string& name,
                             const std::string& content) {
        std::filesystem::create_directories(folder);
        std::ofstream(folder + name, std::ios::binary) << content;
    }

    std::string ReadStore(const std::string& name) { return ReadStoreIn(storeFolder_, name); }

    static std::string ReadStoreIn(const std::string& folder, const std::string& name) {
        std::ifstream in(folder + name, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    // Settings on disk that keep accounts in the database.
    void UseDatabase(int32_t domainCount = 0) { UseConnection(connection_, domainCount); }

    void UseConnection(const std::string& connection, int32_t domainCount = 0) {
        SettingsRecord record;
        record.SetDomainCount(domainCount);
        record.SetAccountStorageMode(2);
        record.SetAccountStorageConnection(connection);
        Put(std::string(kConfig) + "settings.cfg", SettingsFile(record));
    }

    std::string storeFolder_;
    std::string connection_;
};

TEST_F(DatabaseModeTest, DomainsAndAccountsLiveInTheLibrary) {
    InstallLibrary(kInstall);
    UseDatabase();
    auto settings = NewStore();
    settings->LoadSettings(false, false);
    ASSERT_TRUE(settings->Database().IsLoaded());
    EXPECT_EQ(settings->Record().DomainCount(), 2);
    EXPECT_EQ(settings->GetDomainName(1), "two.example");
    EXPECT_EQ(settings->Domains().Find("ONE.example"), 0);

    AccountStore accounts(services_, *settings);
    AccountIterator iterator;
    ASSERT_TRUE(accounts.OpenAccounts("two.example", iterator, "", false, 0));
    std::vector<std::string> seen;
    while (!accounts.NextAccount(iterator)) {
        seen.push_back(iterator.Record().AliasList());
    }
    accounts.CloseAccounts(iterator);
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c"}));

    EXPECT_EQ(accounts.FindAccountIndex("one.example", "2nd"), 1);
    EXPECT_EQ(accounts.FindAccountIndex("one.example", "nobody"), -1);
    AccountRecord read;
    EXPECT_EQ(accounts.ReadAccount("one.example", read, 1), 2);
    EXPECT_EQ(read.AliasList(), "second;2nd");

    AccountRecord added = Account("third");
    int32_t index = -1;
    ASSERT_TRUE(accounts.SaveAccount("one.example", added, index, "admin"));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(ReadStore("one.example.users").size(), 3 * AccountRecord::kSize);
    read.SetAccountType(1);
    index = 0;
    ASSERT_TRUE(accounts.SaveAccount("one.example", read, index, ""));
    EXPECT_EQ(ReadStore("one.example.users").substr(0, AccountRecord::kSize), Plain({read}));
    EXPECT_EQ(accounts.CountAccounts(""), 6);
    EXPECT_EQ(accounts.CountAccounts("two.example"), 3);

    // The library's log stars the password.
    const std::string calls = ReadStore("calls.log");
    EXPECT_NE(calls.find("DBSetConnection " + storeFolder_ +
                         ";user;********;;mysql;\r\nDBLoadConfig C:\\Tolva\\\r\n"),
              std::string::npos);
    EXPECT_EQ(calls.find(";password;"), std::string::npos);

    settings->UseConfigurationFolder(kInstall);
    EXPECT_FALSE(settings->Database().IsLoaded());
    EXPECT_TRUE(ReadStore("calls.log").ends_with("DBDoneConnection\r\n"));
}

TEST_F(DatabaseModeTest, DemoAccountsThroughTheLibrary) {
    InstallLibrary(kInstall);
    WriteStore("domains.dat", testing::DomainsFile({kDemoDomain}));
    WriteStore(std::string(kDemoDomain) + ".users",
               Plain({Account("user"), Account("list", 1), Account("admin")}));
    UseDatabase();
    auto settings = NewStore();
    settings->LoadSettings(false, false);
    AccountStore accounts(services_, *settings);
    accounts.PrepareDemoAccounts();

    const std::string users = ReadStore(std::string(kDemoDomain) + ".users");
    ASSERT_EQ(users.size(), 3 * AccountRecord::kSize);
    for (size_t i = 0; i < 3; ++i) {
        AccountRecord record;
        std::copy_n(users.begin() + i * AccountRecord::kSize, AccountRecord::kSize,
                    record.bytes().begin());
        EXPECT_EQ(record.ExpiryEnabled(), i != 1) << i;
    }
}

TEST_F(DatabaseModeTest, ChangedConnectionReconnectsAtTheNextLoad) {
    InstallLibrary(kInstall);
    UseDatabase();
    auto settings = NewStore();
    settings->LoadSettings(false, false);
    ASSERT_EQ(settings->GetDomainName(0), "one.example");

    // The settings now name another store, as after the database dialog.
    const std::string otherFolder = machine_->ScratchFolder() + "otherstore/";
    const std::string otherConnection = otherFolder + ";admin;secret;;mysql;";
    WriteStoreIn(otherFolder, "domains.dat", testing::DomainsFile({"moved.example"}));
    UseConnection(otherConnection);
    settings->LoadSettings(false, false);
    EXPECT_TRUE(settings->Database().IsLoaded());
    EXPECT_EQ(settings->Record().DomainCount(), 1);
    EXPECT_EQ(settings->GetDomainName(0), "moved.example");
    EXPECT_TRUE(ReadStoreIn(otherFolder, "calls.log")
                    .starts_with("DBSetConnection " + otherFolder +
                                 ";admin;******;;mysql;\r\nDBLoadConfig C:\\Tolva\\\r\n"));

    // An unchanged connection is not set again.
    settings->LoadSettings(false, false);
    const std::string calls = ReadStoreIn(otherFolder, "calls.log");
    EXPECT_EQ(calls.find("DBSetConnection"), calls.rfind("DBSetConnection")) << calls;
}

TEST_F(DatabaseModeTest, LibraryFoundInTheLibSubfolder) {
    InstallLibrary(std::string(kInstall) + "lib\\");
    UseDatabase();
    auto settings = NewStore();
    settings->LoadSettings(false, false);
    EXPECT_TRUE(settings->Database().IsLoaded());
    EXPECT_EQ(settings->Record().DomainCount(), 2);
}

TEST_F(DatabaseModeTest, EmptyDatabaseFallsBackToTheFiles) {
    InstallLibrary(kInstall);
    WriteStore("domains.dat", "");
    UseDatabase();
    Put(std::string(kConfig) + "domains.cfg", testing::DomainsFile({"file.example"}));
    auto settings = NewStore();
    settings->LoadSettings(false, false);
    EXPECT_EQ(settings->GetDomainName(0), "file.example");
}

TEST_F(DatabaseModeTest, WithoutTheLibraryNothingIsReported) {
    UseDatabase(1);
    auto settings = NewStore();
    settings->AddDomain("kept.example");
    settings->LoadSettings(false, false);
    EXPECT_FALSE(settings->Database().IsLoaded());
    EXPECT_EQ(settings->GetDomainName(0), "kept.example");
    EXPECT_EQ(settings->Domains().Find("kept.example"), 0);

    AccountStore accounts(services_, *settings);
    AccountIterator iterator;
    EXPECT_FALSE(accounts.OpenAccounts("one.example", iterator, "", false, 0));
    EXPECT_TRUE(accounts.NextAccount(iterator));
    EXPECT_EQ(accounts.FindAccountIndex("one.example", "first"), -1);
    AccountRecord record = Account("x");
    int32_t index = -1;
    EXPECT_FALSE(accounts.SaveAccount("one.example", record, index, ""));
    EXPECT_EQ(accounts.CountAccounts(""), 0);
}

}  // namespace
}  // namespace tolva::stores

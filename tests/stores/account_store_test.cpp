#include <gtest/gtest.h>

#include "store_fixture.h"
#include "stores/account_store.h"
#include "stores/password_codec.h"
#include "stores/scramble.h"
#include "util/product.h"

namespace tolva::stores {
namespace {

using testing::SettingsFile;

AccountRecord Account(const std::string& aliases, uint8_t type = AccountRecord::kUserAccount,
                      const std::string& password = "pw") {
    AccountRecord record;
    record.SetAccountType(type);
    record.SetAliasList(aliases);
    record.SetPassword(password);
    record.bytes()[2000] = 0x5C;  // a byte no accessor knows
    return record;
}

std::string UsersFile(const std::vector<AccountRecord>& records) {
    std::string file;
    for (AccountRecord record : records) {
        ScrambleBlock(record.bytes().data(), AccountRecord::kSize, 0);
        file += testing::Bytes(record.bytes().data(), AccountRecord::kSize);
    }
    return file;
}

AccountRecord StoredRecord(const std::string& file, size_t index) {
    AccountRecord record;
    std::copy_n(file.begin() + index * AccountRecord::kSize, AccountRecord::kSize,
                record.bytes().begin());
    ScrambleBlock(record.bytes().data(), AccountRecord::kSize, 0);
    return record;
}

class AccountStoreTest : public testing::StoreTest {
protected:
    // A server whose domain table holds these domains.
    void Install(const std::vector<std::string>& domains, bool encrypt = false) {
        settings_ = NewStore();
        settings_->LoadSettings(false, false);
        for (const std::string& domain : domains) {
            settings_->AddDomain(domain);
        }
        settings_->Record().SetEncryptPasswords(encrypt);
        accounts_ = std::make_unique<AccountStore>(services_, *settings_);
        accounts_->SetAccountLog([this](const std::string& line) { log_.push_back(line); });
    }

    static std::string Users(const std::string& domain) {
        return std::string(kConfig) + domain + "\\users.cfg";
    }

    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<AccountStore> accounts_;
    std::vector<std::string> log_;
};

TEST_F(AccountStoreTest, DemoAccountsBecomeTemporaryInPlace) {
    Install({kDemoDomain});
    const std::vector<AccountRecord> original = {Account("user;u"), Account("list", 1),
                                                 Account("admin")};
    Put(Users(kDemoDomain), UsersFile(original));
    system_.SetNow({2026, 3, 1, 15, 30, 0, 0, 0});

    accounts_->PrepareDemoAccounts();

    const std::string file = Get(Users(kDemoDomain));
    ASSERT_EQ(file.size(), 3 * AccountRecord::kSize);
    const double expiry = DateSerial(2026, 3, 31);
    EXPECT_EQ(expiry, 46112.0);
    for (size_t i : {0u, 2u}) {
        AccountRecord stored = StoredRecord(file, i);
        EXPECT_TRUE(stored.ExpiryEnabled()) << i;
        EXPECT_EQ(stored.ExpiryDate(), expiry) << i;
        EXPECT_EQ(stored.AliasList(), original[i].AliasList());
        EXPECT_EQ(stored.bytes()[2000], 0x5C);
    }
    EXPECT_TRUE(StoredRecord(file, 1) == original[1]);
    EXPECT_EQ(log_, (std::vector<std::string>{"'System' updated 'user@demo-mx.example'",
                                              "'System' updated 'admin@demo-mx.example'"}));
}

TEST_F(AccountStoreTest, DemoAccountMissingFromThePrimaryDomainIsAppended) {
    Install({"primary.example"});
    Put(Users(kDemoDomain), UsersFile({Account("user")}));
    Put(Users("primary.example"), UsersFile({Account("someone"), Account("else")}));

    accounts_->PrepareDemoAccounts();

    const std::string file = Get(Users("primary.example"));
    ASSERT_EQ(file.size(), 3 * AccountRecord::kSize);
    EXPECT_EQ(StoredRecord(file, 2).AliasList(), "user");
    EXPECT_TRUE(StoredRecord(file, 2).ExpiryEnabled());
    EXPECT_EQ(log_, std::vector<std::string>{"'System' created 'user@primary.example'"});
}

TEST_F(AccountStoreTest, NoDemoAccountsChangeNothing) {
    Install({"primary.example"});
    AccountIterator iterator;
    EXPECT_FALSE(accounts_->OpenAccounts(kDemoDomain, iterator, "", false, 0));
    EXPECT_TRUE(accounts_->NextAccount(iterator));
    accounts_->PrepareDemoAccounts();
    EXPECT_FALSE(Exists(Users("primary.example")));
    EXPECT_TRUE(log_.empty());
}

TEST_F(AccountStoreTest, SaveAccountAppendsAtTheEndOrRewritesInPlace) {
    Install({"d.example"});
    Put(Users("d.example"), UsersFile({Account("a"), Account("b")}));
    struct Case {
        const char* name;
        int32_t index;
        int32_t expectedIndex;
        const char* logged;
    };
    const Case cases[] = {
        {"index -1 appends", -1, 2, "'tester' created 'new0@d.example'"},
        {"index equal to the count appends", 3, 3, "'tester' created 'new1@d.example'"},
        {"index past the end appends", 9, 4, "'tester' created 'new2@d.example'"},
        {"index in range rewrites", 1, 1, "'tester' updated 'new3@d.example'"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AccountRecord record = Account("new" + std::to_string(n++));
        int32_t index = c.index;
        ASSERT_TRUE(accounts_->SaveAccount("d.example", record, index, "tester"));
        EXPECT_EQ(index, c.expectedIndex);
        EXPECT_EQ(log_.back(), c.logged);
        AccountRecord read;
        EXPECT_EQ(accounts_->ReadAccount("d.example", read, index),
                  static_cast<int32_t>(Get(Users("d.example")).size() / AccountRecord::kSize));
        EXPECT_TRUE(read == record);
    }
    EXPECT_EQ(accounts_->CountAccounts("d.example"), 5);
    EXPECT_EQ(accounts_->FindAccountIndex("d.example", "NEW3"), 1);
    EXPECT_EQ(accounts_->FindAccountIndex("d.example", "b"), -1);
}

TEST_F(AccountStoreTest, UnsavableAccountsAreNotWritten) {
    Install({"d.example"});
    AccountRecord empty = Account("");
    int32_t index = -1;
    EXPECT_FALSE(accounts_->SaveAccount("d.example", empty, index, ""));
    EXPECT_FALSE(Exists(Users("d.example")));

    AccountRecord record = Account("x");
    for (const char* domain : {"", "..", "a\\b", "c:x", "../up"}) {
        EXPECT_FALSE(accounts_->SaveAccount(domain, record, index, "")) << domain;
    }
    EXPECT_TRUE(log_.empty());
}

TEST_F(AccountStoreTest, NewDomainFileAndMailboxFollowUps) {
    Install({"d.example"});
    AccountRecord record = Account("Boss;chief");
    record.SetMailboxValues(0x00010000);
    int32_t index = -1;
    ASSERT_TRUE(accounts_->SaveAccount("d.example", record, index, ""));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(record.MailboxPath(), "d.example\\Boss\\");
    const std::string mailbox = "C:\\Tolva\\mail\\d.example\\Boss\\";
    EXPECT_TRUE(Exists(mailbox + "active.dat"));

    Put(mailbox + "respond.dat", "away");
    record.SetMailboxValues(5);
    ASSERT_TRUE(accounts_->SaveAccount("d.example", record, index, ""));
    EXPECT_FALSE(Exists(mailbox + "respond.dat"));
}

TEST_F(AccountStoreTest, ChangedPrimaryAliasMovesTheMailbox) {
    Install({"d.example"});
    AccountRecord record = Account("old");
    int32_t index = -1;
    ASSERT_TRUE(accounts_->SaveAccount("d.example", record, index, ""));
    Put("C:\\Tolva\\mail\\d.example\\old\\1.imap", "mail");

    record.SetAliasList("new;old");
    ASSERT_TRUE(accounts_->SaveAccount("d.example", record, index, ""));
    EXPECT_EQ(record.MailboxPath(), "d.example\\new\\");
    EXPECT_EQ(Get("C:\\Tolva\\mail\\d.example\\new\\1.imap"), "mail");
}

TEST_F(AccountStoreTest, PasswordsReadTheSameInBothStoredForms) {
    const std::string passwords[] = {"",
                                     "s3cret",
                                     "exactly8",
                                     std::string(93, 'p'),
                                     std::string(127, 'q'),
                                     "~#looks encoded",
                                     "caf\xE9"};
    for (bool encrypt : {false, true}) {
        Install({"d.example"}, encrypt);
        (void)services_.files->RemoveFile(Users("d.example"));
        for (const std::string& password : passwords) {
            SCOPED_TRACE(std::to_string(encrypt) + " " + password);
            AccountRecord record = Account("u", AccountRecord::kUserAccount, password);
            int32_t index = -1;
            ASSERT_TRUE(accounts_->SaveAccount("d.example", record, index, ""));
            EXPECT_EQ(record.Password(), password);
            const std::string stored = StoredRecord(Get(Users("d.example")), index).Password();
            // Only what fits the field is stored encoded; the rest stays plain.
            const bool fits = 3 + (password.size() + 2) / 3 * 4 <= 127;
            if ((encrypt || password.starts_with("~#")) && fits) {
                EXPECT_TRUE(stored.starts_with("~#1"));
                if (!password.empty()) {
                    EXPECT_NE(stored.substr(3), password);
                }
            } else {
                EXPECT_EQ(stored, password);
            }
            AccountRecord read;
            accounts_->ReadAccount("d.example", read, index);
            EXPECT_EQ(read.Password(), password);
        }
    }
}

TEST_F(AccountStoreTest, IterationDecodesStoredPasswords) {
    Install({kDemoDomain}, true);
    NumberedLocks locks;
    PasswordCodec codec(locks);
    const auto encoded = [&](const std::string& plain) {
        std::string stored;
        EXPECT_TRUE(codec.Encode(plain, stored));
        return stored;
    };
    const std::string listPassword = encoded("list secret");
    Put(Users(kDemoDomain),
        UsersFile({Account("u1", AccountRecord::kUserAccount, encoded("first secret")),
                   Account("u2", AccountRecord::kUserAccount, "plain secret"),
                   // Only user accounts have their password encoded, and decoded.
                   Account("list", 1, listPassword)}));

    AccountIterator iterator;
    ASSERT_TRUE(accounts_->OpenAccounts(kDemoDomain, iterator, "", false, 0));
    std::vector<std::string> passwords;
    while (!accounts_->NextAccount(iterator)) {
        passwords.push_back(iterator.Record().Password());
    }
    accounts_->CloseAccounts(iterator);
    EXPECT_EQ(passwords, (std::vector<std::string>{"first secret", "plain secret", listPassword}));

    // Rewritten in place, each user password is encoded once: decoded on the way in, it is not
    // encoded a second time on the way out.
    accounts_->PrepareDemoAccounts();
    const std::string file = Get(Users(kDemoDomain));
    for (size_t i : {0u, 1u}) {
        EXPECT_TRUE(StoredRecord(file, i).Password().starts_with("~#1")) << i;
        AccountRecord read;
        accounts_->ReadAccount(kDemoDomain, read, static_cast<int32_t>(i));
        EXPECT_EQ(read.Password(), passwords[i]) << i;
    }
    EXPECT_EQ(StoredRecord(file, 2).Password(), listPassword);
}

TEST(PasswordCodecTest, DecodingIsLenient) {
    NumberedLocks locks;
    PasswordCodec codec(locks);
    std::string stored;
    ASSERT_TRUE(codec.Encode("hunter2", stored));
    EXPECT_EQ(stored.size(), 3u + 12);
    std::string plain;
    ASSERT_TRUE(codec.Decode(stored, plain));
    EXPECT_EQ(plain, "hunter2");
    // The marker's third character is not checked.
    ASSERT_TRUE(codec.Decode("~#9" + stored.substr(3), plain));
    EXPECT_EQ(plain, "hunter2");
    // The feedback restarts for every password.
    std::string again;
    ASSERT_TRUE(codec.Encode("hunter2", again));
    EXPECT_EQ(again, stored);

    AccountRecord record;
    for (const char* bad : {"~#1not base64!", "~#1abc"}) {
        record.SetPassword(bad);
        codec.DecodePassword(record);
        EXPECT_EQ(record.Password(), bad);
    }
    for (const char* plainText : {"~#", "~", "plain"}) {
        record.SetPassword(plainText);
        codec.DecodePassword(record);
        EXPECT_EQ(record.Password(), plainText);
    }
}

TEST(AliasesMatchTest, Cases) {
    struct Case {
        const char* a;
        const char* b;
        bool patterns;
        bool match;
    };
    const Case cases[] = {
        {"sales", "Info;Sales", false, true},
        {"info", "inform", false, false},
        {"x;INFO", "info", false, true},
        {"", "", false, false},
        {"a;;b", ";", false, false},
        {"sales-2024", "[sales-*]", true, true},
        {"sales-2024", "[sales-*]", false, false},
        {"bob", "[b?b]", true, true},
        {"bobby", "[b?b]", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AliasesMatch(c.a, c.b, c.patterns), c.match) << c.a << " | " << c.b;
    }
}

TEST_F(AccountStoreTest, CountAccountsOverTheDomainTable) {
    Install({"three.example", "five.example", "none.example", "Mixed.Example"});
    Put(Users("three.example"), UsersFile(std::vector<AccountRecord>(3, Account("a"))));
    Put(Users("five.example"), UsersFile(std::vector<AccountRecord>(5, Account("b"))));
    Put(Users("other.example"), UsersFile(std::vector<AccountRecord>(7, Account("c"))));
    // The table keeps its names in lower case, as their folders are named.
    Put(Users("mixed.example"), UsersFile(std::vector<AccountRecord>(2, Account("d"))));
    EXPECT_EQ(accounts_->CountAccounts(""), 10);
    EXPECT_EQ(accounts_->CountAccounts("FIVE.example"), 5);
    EXPECT_EQ(accounts_->CountAccounts("mixed.example"), 2) << "the table's name in any case";
    EXPECT_EQ(accounts_->CountAccounts("none.example"), 0);
    EXPECT_EQ(accounts_->CountAccounts("other.example"), 0);
}

TEST_F(AccountStoreTest, IterationStopsAtTheRecordsPresentAtOpening) {
    Install({"d.example"});
    std::string file = UsersFile({Account("a"), Account("b")});
    Put(Users("d.example"), file + std::string(100, 'x'));  // a torn record at the end
    AccountIterator iterator;
    ASSERT_TRUE(accounts_->OpenAccounts("d.example", iterator, "", false, 1));
    EXPECT_EQ(iterator.Count(), 2);
    ASSERT_FALSE(accounts_->NextAccount(iterator));
    EXPECT_EQ(iterator.Record().AliasList(), "b");
    EXPECT_EQ(iterator.Index(), 1);
    AccountRecord extra = Account("c");
    int32_t index = -1;
    ASSERT_TRUE(accounts_->SaveAccount("d.example", extra, index, ""));
    EXPECT_TRUE(accounts_->NextAccount(iterator));
    accounts_->CloseAccounts(iterator);
    EXPECT_FALSE(iterator.IsOpen());
}

}  // namespace
}  // namespace tolva::stores

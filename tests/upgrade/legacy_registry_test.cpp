#include "upgrade/legacy_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/fake/fake_registry.h"

namespace tolva::upgrade {
namespace {

using platform::RegistryRoot;

constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
constexpr char kOldServer[] = "Software\\Tolva";
constexpr char kOldWebMail[] = "Software\\CWEBMAIL";
constexpr char kServer[] = "Software\\Corvane\\Tolva Mail Server";
constexpr char kWebMail[] = "Software\\Corvane\\Corvane Web Mail";

class LegacyRegistryTest : public ::testing::Test {
protected:
    void Reset() { registry = std::make_unique<platform::FakeRegistry>(); }

    // The keys as versions before the vendor key left them, with a subkey of their own.
    void SeedLegacyKeys() {
        for (const char* key : {kOldServer, kOldWebMail}) {
            ASSERT_TRUE(registry->WriteString(kMachine, key, "InstallDir", "C:\\Tolva\\").ok());
            ASSERT_TRUE(registry->WriteString(kMachine, key, "Version", "7.7.2").ok());
            ASSERT_TRUE(registry->WriteString(kMachine, key, "Name", "Ann").ok());
            ASSERT_TRUE(registry->WriteString(kMachine, key, "Company", "Example").ok());
            ASSERT_TRUE(registry->WriteString(kMachine, std::string(key) + "\\Sub", "x", "y").ok());
        }
        ASSERT_TRUE(registry->WriteExpandString(kMachine, kOldServer, "Email", "a@b").ok());
        ASSERT_TRUE(registry->WriteBinary(kMachine, kOldServer, "Settings", kSettings).ok());
        ASSERT_TRUE(registry->WriteBinary(kMachine, kOldServer, "TOLVANotify", "\x01\x02").ok());
        ASSERT_TRUE(registry->WriteBinary(kMachine, kOldServer, "DNSQuery", "").ok());
    }

    std::string String(const char* key, const char* name) {
        std::string value = "<missing>";
        (void)registry->ReadString(kMachine, key, name, value);
        return value;
    }

    std::string Binary(const char* key, const char* name) {
        std::string value = "<missing>";
        (void)registry->ReadBinary(kMachine, key, name, value);
        return value;
    }

    void ExpectMigrated() {
        for (const char* key : {kServer, kWebMail}) {
            EXPECT_EQ(String(key, "InstallDir"), "C:\\Tolva\\") << key;
            EXPECT_EQ(String(key, "Version"), "7.7.2") << key;
            EXPECT_EQ(String(key, "Name"), "Ann") << key;
            EXPECT_EQ(String(key, "Country"), "") << key << ": a missing value is carried empty";
            EXPECT_EQ(String(key, "Company"), "Example") << key;
            EXPECT_FALSE(registry->KeyExists(kMachine, std::string(key) + "\\Sub")) << key;
        }
        EXPECT_EQ(String(kServer, "Email"), "a@b");
        EXPECT_EQ(Binary(kServer, "Settings"), kSettings);
        EXPECT_EQ(Binary(kServer, "Notify"), "\x01\x02");
        EXPECT_EQ(Binary(kServer, "DNSQuery"), "");
        EXPECT_EQ(Binary(kServer, "SMTPTest"), "<missing>");
        EXPECT_EQ(Binary(kServer, "TOLVANotify"), "<missing>");
    }

    const std::string kSettings = std::string(4096, '\x5a');
    std::unique_ptr<platform::FakeRegistry> registry = std::make_unique<platform::FakeRegistry>();
};

TEST_F(LegacyRegistryTest, StartUpCopiesAndKeepsTheOldKeysThenTheInstallationFindsTheVendorKey) {
    SeedLegacyKeys();
    MigrateLegacyRegistry(*registry, false);
    ExpectMigrated();

    // The user changed the details in between: the later call copies nothing over them.
    ASSERT_TRUE(registry->WriteString(kMachine, kServer, "Name", "Bob").ok());
    MigrateLegacyRegistry(*registry, true);
    EXPECT_EQ(String(kServer, "Name"), "Bob");
    for (const char* key : {kOldServer, kOldWebMail}) {
        EXPECT_EQ(String(key, "Name"), "Ann") << key;
        EXPECT_EQ(String((std::string(key) + "\\Sub").c_str(), "x"), "y") << key;
    }
}

TEST_F(LegacyRegistryTest, MigrationWithDeletionRemovesTheOldKeysWithTheirSubkeys) {
    SeedLegacyKeys();
    MigrateLegacyRegistry(*registry, true);
    ExpectMigrated();
    EXPECT_FALSE(registry->KeyExists(kMachine, kOldServer));
    EXPECT_FALSE(registry->KeyExists(kMachine, kOldWebMail));
}

TEST_F(LegacyRegistryTest, NothingHappensWithoutOldKeysOrWithTheVendorKey) {
    MigrateLegacyRegistry(*registry, true);
    EXPECT_FALSE(registry->KeyExists(kMachine, "Software\\Corvane"));

    SeedLegacyKeys();
    ASSERT_TRUE(registry->CreateKey(kMachine, "Software\\Corvane").ok());
    MigrateLegacyRegistry(*registry, true);
    EXPECT_FALSE(registry->KeyExists(kMachine, kServer));
    EXPECT_TRUE(registry->KeyExists(kMachine, kOldServer));
}

TEST_F(LegacyRegistryTest, AValueItCannotTakeEndsTheMigrationThereAndKeepsTheOldKeys) {
    struct Case {
        const char* what;
        const char* name;
        bool binary;
        std::string value;
        // The values of the server key copied before the migration stopped: how many, the last.
        size_t copied;
        const char* lastCopied;
    } cases[] = {
        {"binary value too long", "Settings", true, std::string(4097, 'x'), 7, "DNSQuery"},
        {"binary value as a string", "SMTPTest", false, "text", 8, "Settings"},
        {"string value as binary", "Version", true, "\x07", 1, "InstallDir"},
    };
    for (const Case& c : cases) {
        Reset();
        SeedLegacyKeys();
        if (c.binary) {
            ASSERT_TRUE(registry->WriteBinary(kMachine, kOldServer, c.name, c.value).ok());
        } else {
            ASSERT_TRUE(registry->WriteString(kMachine, kOldServer, c.name, c.value).ok());
        }
        MigrateLegacyRegistry(*registry, true);
        EXPECT_TRUE(registry->KeyExists(kMachine, kOldServer)) << c.what;
        EXPECT_TRUE(registry->KeyExists(kMachine, kOldWebMail)) << c.what;
        EXPECT_FALSE(registry->KeyExists(kMachine, kWebMail)) << c.what;
        std::vector<std::string> names;
        ASSERT_TRUE(registry->ListValueNames(kMachine, kServer, names).ok()) << c.what;
        EXPECT_EQ(names.size(), c.copied) << c.what;
        EXPECT_NE(std::find(names.begin(), names.end(), c.lastCopied), names.end()) << c.what;
    }
}

}  // namespace
}  // namespace tolva::upgrade

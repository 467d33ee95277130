#include "winsys/advanced_registry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/fake/fake_registry.h"

namespace tolva::winsys {
namespace {

using platform::RegistryRoot;
using platform::RegistryValueType;
using platform::RegistryView;

constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
constexpr char kProductKey[] = "Software\\Corvane\\Tolva Mail Server";

class AdvancedRegistryTest : public ::testing::Test {
protected:
    AdvancedRegistryTest()
        : product(registry, kMachine, "\\Software\\Corvane", "Tolva Mail Server") {
        product.OnError = [this](TAdvancedRegistry& sender) {
            EXPECT_EQ(&sender, &product);
            ++errors;
        };
    }

    platform::FakeRegistry registry;
    TAdvancedRegistry product;
    int errors = 0;
};

TEST_F(AdvancedRegistryTest, ReadsOfAnExistingKey) {
    ASSERT_TRUE(registry.WriteString(kMachine, kProductKey, "Version", "9.0.5").ok());
    ASSERT_TRUE(registry.WriteExpandString(kMachine, kProductKey, "InstallDir", "C:\\T\\").ok());
    ASSERT_TRUE(registry.WriteString(kMachine, kProductKey, "Flag", "1").ok());
    ASSERT_TRUE(registry.WriteDword(kMachine, kProductKey, "NoInstallIM", 0).ok());
    ASSERT_TRUE(registry.WriteDword(kMachine, kProductKey, "NoInstallAV", 1).ok());
    ASSERT_TRUE(registry.WriteDword(kMachine, kProductKey, "NoInstallIAS", 0xFFFFFFFFu).ok());

    struct Case {
        const char* name;
        std::optional<std::string> text;  // a string read; else a boolean read
        bool flag;
        bool error;
    } cases[] = {
        {"Version", "9.0.5", false, false},
        {"InstallDir", "C:\\T\\", false, false},
        {"Company", "", false, false},  // a missing string value is simply empty
        {"NoInstallAV", "", false, true},
        {"NoInstallIM", std::nullopt, false, false},
        {"NoInstallAV", std::nullopt, true, false},
        {"NoInstallIAS", std::nullopt, true, false},
        {"NoInstallMail", std::nullopt, false, true},  // a missing integer is an error
        {"Flag", std::nullopt, false, true},
    };
    for (const Case& c : cases) {
        errors = 0;
        if (c.text) {
            EXPECT_EQ(product.ReadSectionString(c.name), *c.text) << c.name;
        } else {
            EXPECT_EQ(product.ReadSectionBool(c.name), c.flag) << c.name;
        }
        EXPECT_EQ(errors, c.error ? 1 : 0) << c.name << (c.text ? " as string" : " as boolean");
    }
}

TEST_F(AdvancedRegistryTest, AMissingKeyReadsEmptyAndFiresOnErrorWithoutCreatingIt) {
    EXPECT_EQ(product.ReadSectionString("Version"), "");
    EXPECT_FALSE(product.ReadSectionBool("NoInstallIM"));
    EXPECT_EQ(errors, 2);
    EXPECT_FALSE(registry.KeyExists(kMachine, "Software\\Corvane"));

    // Without a handler the same failures pass silently.
    product.OnError = nullptr;
    EXPECT_EQ(product.ReadSectionString("Version"), "");
    EXPECT_FALSE(product.DeleteRegistryKey("\\Software\\Corvane"));
}

TEST_F(AdvancedRegistryTest, WritesCreateTheKeyAndStoreTypedValues) {
    ASSERT_TRUE(product.WriteSectionString("InstallDir", "C:\\Program Files\\Tolva\\").ok());
    ASSERT_TRUE(product.WriteSectionBool("NoInstallIM", true).ok());
    ASSERT_TRUE(product.WriteSectionBool("NoInstallAV", false).ok());
    EXPECT_EQ(errors, 0);

    std::string text;
    ASSERT_TRUE(registry.ReadString(kMachine, kProductKey, "InstallDir", text).ok());
    EXPECT_EQ(text, "C:\\Program Files\\Tolva\\");
    for (auto [name, expected] : {std::pair{"NoInstallIM", 1u}, std::pair{"NoInstallAV", 0u}}) {
        RegistryValueType type = RegistryValueType::kNone;
        uint32_t number = 7;
        ASSERT_TRUE(registry.GetValueType(kMachine, kProductKey, name, type).ok()) << name;
        EXPECT_EQ(type, RegistryValueType::kDword) << name;
        ASSERT_TRUE(registry.ReadDword(kMachine, kProductKey, name, number).ok()) << name;
        EXPECT_EQ(number, expected) << name;
    }
    EXPECT_EQ(product.ReadSectionString("InstallDir"), "C:\\Program Files\\Tolva\\");
    EXPECT_TRUE(product.ReadSectionBool("NoInstallIM"));
}

TEST_F(AdvancedRegistryTest, WriteFailuresAreReturnedAndOnlyAnUnopenableKeyFiresOnError) {
    struct Case {
        const char* failing;
        bool error;
    } cases[] = {{"CreateKey", true}, {"WriteString", false}, {"WriteDword", false}};
    for (const Case& c : cases) {
        errors = 0;
        registry.FailNext(c.failing, platform::error::kAccessDenied);
        platform::Status status = std::string(c.failing) == "WriteDword"
                                      ? product.WriteSectionBool("NoInstallIM", true)
                                      : product.WriteSectionString("Name", "Ann");
        EXPECT_FALSE(status.ok()) << c.failing;
        EXPECT_EQ(status.code(), platform::error::kAccessDenied) << c.failing;
        EXPECT_EQ(errors, c.error ? 1 : 0) << c.failing;
    }
    std::string text;
    EXPECT_FALSE(registry.ReadString(kMachine, kProductKey, "Name", text).ok());
}

TEST_F(AdvancedRegistryTest, DeleteRemovesTheWholeTreeAndReportsAMissingKey) {
    ASSERT_TRUE(registry.WriteString(kMachine, std::string(kProductKey) + "\\Sub", "x", "y").ok());
    ASSERT_TRUE(registry.WriteString(kMachine, "Software\\Corvane\\Other", "x", "y").ok());

    EXPECT_TRUE(product.DeleteRegistryKey(product.SectionKey()));
    EXPECT_EQ(errors, 0);
    EXPECT_FALSE(registry.KeyExists(kMachine, kProductKey));
    EXPECT_TRUE(registry.KeyExists(kMachine, "Software\\Corvane\\Other"));

    EXPECT_FALSE(product.DeleteRegistryKey(product.SectionKey()));
    EXPECT_EQ(errors, 1);
}

TEST_F(AdvancedRegistryTest, RootAndViewTakeEffectAtOnce) {
    TAdvancedRegistry folders(registry);
    folders.SetRegistryArea("\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer");
    folders.SetRegistrySection("Shell Folders");
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    ASSERT_TRUE(registry.WriteString(RegistryRoot::kCurrentUser, key, "Programs", "C:\\U\\").ok());
    ASSERT_TRUE(registry.WriteString(kMachine, key, "Common Programs", "C:\\All\\").ok());

    EXPECT_EQ(folders.RegistryRootKey(), RegistryRoot::kCurrentUser);
    EXPECT_EQ(folders.ReadSectionString("Programs"), "C:\\U\\");
    folders.SetRegistryRootKey(kMachine);
    EXPECT_EQ(folders.ReadSectionString("Common Programs"), "C:\\All\\");
    EXPECT_EQ(folders.ReadSectionString("Programs"), "");

    // HKEY_LOCAL_MACHINE\Software differs by view; the 32-bit one is the default.
    ASSERT_TRUE(product.WriteSectionString("Version", "9.1.0").ok());
    product.SetRegistryView(RegistryView::k64Bit);
    EXPECT_EQ(product.ReadSectionString("Version"), "");
    ASSERT_TRUE(product.WriteSectionString("Version", "64").ok());
    product.SetRegistryView(RegistryView::k32Bit);
    EXPECT_EQ(product.ReadSectionString("Version"), "9.1.0");
    EXPECT_EQ(errors, 1);  // the 64-bit view had no such key yet
}

}  // namespace
}  // namespace tolva::winsys

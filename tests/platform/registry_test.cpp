#include "platform/registry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "test_platform.h"

namespace tolva::platform {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;

class RegistryTest : public ::testing::Test {
protected:
    testing::TestPlatform test;
    Registry& registry = *test.Services().registry;
    const std::string key = test.RegistryKey();
};

TEST_F(RegistryTest, ValuesRoundTripByType) {
    const std::string binary("\0\x01\xFF\x80", 4);
    ASSERT_TRUE(registry.WriteString(kUser, key, "Path", "C:\\Program Files\\Tolva\\").ok());
    ASSERT_TRUE(registry.WriteString(kUser, key, "Empty", "").ok());
    ASSERT_TRUE(registry.WriteString(kUser, key, "", "default \xE9").ok());
    ASSERT_TRUE(registry.WriteDword(kUser, key, "Start", 0xFFFFFFFEu).ok());
    ASSERT_TRUE(registry.WriteBinary(kUser, key, "Blob", binary).ok());

    std::string text;
    ASSERT_TRUE(registry.ReadString(kUser, key, "Path", text).ok());
    EXPECT_EQ(text, "C:\\Program Files\\Tolva\\");
    ASSERT_TRUE(registry.ReadString(kUser, key, "Empty", text).ok());
    EXPECT_EQ(text, "");
    ASSERT_TRUE(registry.ReadString(kUser, key, "", text).ok());
    EXPECT_EQ(text, "default \xE9");
    uint32_t number = 0;
    ASSERT_TRUE(registry.ReadDword(kUser, key, "Start", number).ok());
    EXPECT_EQ(number, 0xFFFFFFFEu);
    std::string bytes;
    ASSERT_TRUE(registry.ReadBinary(kUser, key, "Blob", bytes).ok());
    EXPECT_EQ(bytes, binary);

    struct Case {
        const char* name;
        RegistryValueType type;
    } types[] = {{"Path", RegistryValueType::kString},
                 {"Start", RegistryValueType::kDword},
                 {"Blob", RegistryValueType::kBinary}};
    for (const Case& c : types) {
        RegistryValueType type = RegistryValueType::kNone;
        ASSERT_TRUE(registry.GetValueType(kUser, key, c.name, type).ok()) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
    }
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    ASSERT_TRUE(registry.WriteString(kUser, key + "\\Sub", "Version", "1").ok());
    ASSERT_TRUE(registry.WriteString(kUser, key + "\\SUB", "VERSION", "2").ok());

    std::string text;
    ASSERT_TRUE(registry.ReadString(kUser, key + "\\sub", "version", text).ok());
    EXPECT_EQ(text, "2");
    std::vector<std::string> names;
    ASSERT_TRUE(registry.ListValueNames(kUser, key + "\\Sub", names).ok());
    EXPECT_EQ(names, std::vector<std::string>{"Version"});
    ASSERT_TRUE(registry.ListSubkeys(kUser, key, names).ok());
    EXPECT_EQ(names, std::vector<std::string>{"Sub"});
    EXPECT_TRUE(registry.KeyExists(kUser, "\\" + key + "\\sub"))
        << "a leading backslash is ignored";

    // So do the letters of Windows-1252 beyond ASCII (u with diaeresis, e with acute).
    ASSERT_TRUE(registry
                    .WriteString(kUser,
                                 key + "\\Gr\xFC\xDF"
                                       "e",
                                 "\xC9t\xE9", "1")
                    .ok());
    ASSERT_TRUE(registry
                    .ReadString(kUser,
                                key + "\\GR\xDC\xDF"
                                      "E",
                                "\xE9T\xC9", text)
                    .ok());
    EXPECT_EQ(text, "1");
}

TEST_F(RegistryTest, TheViewsKeepApartOnlyTheMachinesSoftwareKey) {
    const RegistryHive machine32{RegistryRoot::kLocalMachine, RegistryView::k32Bit};
    const RegistryHive machine64{RegistryRoot::kLocalMachine, RegistryView::k64Bit};
    const bool apart = test.RegistryHasTwoViews();
    ASSERT_TRUE(registry.WriteString(machine32, key, "Bits", "32").ok());
    ASSERT_TRUE(registry.WriteString(machine64, key, "Bits", "64").ok());
    std::string text;
    ASSERT_TRUE(registry.ReadString(RegistryRoot::kLocalMachine, key, "Bits", text).ok());
    EXPECT_EQ(text, apart ? "32" : "64") << "a root alone takes the 32-bit view";
    ASSERT_TRUE(registry.ReadString(machine64, key, "Bits", text).ok());
    EXPECT_EQ(text, "64");

    ASSERT_TRUE(registry.RemoveKeyTree(machine64, key).ok());
    EXPECT_FALSE(registry.KeyExists(machine64, key));
    EXPECT_EQ(registry.KeyExists(machine32, key), apart) << "removed in its own view only";

    const RegistryHive user64{RegistryRoot::kCurrentUser, RegistryView::k64Bit};
    ASSERT_TRUE(registry.WriteString(user64, key, "Shared", "one").ok());
    ASSERT_TRUE(registry.ReadString(kUser, key, "Shared", text).ok());
    EXPECT_EQ(text, "one") << "outside HKEY_LOCAL_MACHINE\\Software both views see one key";
}

TEST_F(RegistryTest, MissingKeysValuesAndOtherTypesFail) {
    ASSERT_TRUE(registry.WriteDword(kUser, key, "Number", 7).ok());
    std::string text;
    uint32_t number = 0;
    std::vector<std::string> names;
    struct Case {
        const char* what;
        Status status;
        uint32_t code;
    } cases[] = {
        {"string of missing key", registry.ReadString(kUser, key + "\\Nope", "x", text),
         error::kFileNotFound},
        {"missing value", registry.ReadDword(kUser, key, "Nope", number), error::kFileNotFound},
        {"dword as string", registry.ReadString(kUser, key, "Number", text),
         error::kUnsupportedType},
        {"dword as binary", registry.ReadBinary(kUser, key, "Number", text),
         error::kUnsupportedType},
        {"list missing key", registry.ListSubkeys(kUser, key + "\\Nope", names),
         error::kFileNotFound},
        {"remove missing value", registry.RemoveValue(kUser, key, "Nope"), error::kFileNotFound},
        {"remove missing tree", registry.RemoveKeyTree(kUser, key + "\\Nope"),
         error::kFileNotFound},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.status.code(), c.code) << c.what << ": " << c.status.what();
    }
    EXPECT_FALSE(registry.KeyExists(kUser, key + "\\Nope"));
}

TEST_F(RegistryTest, KeysAreCreatedListedAndRemovedAsTrees) {
    ASSERT_TRUE(registry.CreateKey(kUser, key + "\\B\\Deep\\Deeper").ok());
    ASSERT_TRUE(registry.CreateKey(kUser, key + "\\A").ok());
    ASSERT_TRUE(registry.CreateKey(kUser, key + "\\A").ok());
    ASSERT_TRUE(registry.WriteString(kUser, key + "\\B\\Deep", "Name", "x").ok());

    std::vector<std::string> names;
    ASSERT_TRUE(registry.ListSubkeys(kUser, key, names).ok());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B"}));

    ASSERT_TRUE(registry.RemoveKeyTree(kUser, key + "\\B").ok());
    EXPECT_FALSE(registry.KeyExists(kUser, key + "\\B\\Deep"));
    EXPECT_FALSE(registry.KeyExists(kUser, key + "\\B"));
    EXPECT_TRUE(registry.KeyExists(kUser, key + "\\A"));

    EXPECT_EQ(registry.RemoveKeyTree(kUser, "").code(), error::kInvalidParameter)
        << "a whole root is never removed";
    EXPECT_EQ(registry.RemoveKeyTree(kUser, "\\").code(), error::kInvalidParameter);
    EXPECT_TRUE(registry.KeyExists(kUser, key + "\\A"));
}

TEST_F(RegistryTest, ValuesAreListedAndRemoved) {
    for (const char* name : {"Zeta", "Alpha", "Mid"}) {
        ASSERT_TRUE(registry.WriteString(kUser, key, name, name).ok());
    }
    ASSERT_TRUE(registry.RemoveValue(kUser, key, "alpha").ok());
    std::vector<std::string> names;
    ASSERT_TRUE(registry.ListValueNames(kUser, key, names).ok());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Mid", "Zeta"}));
    std::string text;
    EXPECT_EQ(registry.ReadString(kUser, key, "Alpha", text).code(), error::kFileNotFound);
}

}  // namespace
}  // namespace tolva::platform

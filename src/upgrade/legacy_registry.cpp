#include "upgrade/legacy_registry.h"

#include <span>
#include <string>

namespace tolva::upgrade {
namespace {

using platform::Registry;
using platform::RegistryRoot;
using platform::RegistryValueType;

constexpr RegistryRoot kRoot = RegistryRoot::kLocalMachine;
constexpr char kVendorKey[] = "Software\\Corvane";

struct BinaryValue {
    const char* oldName;
    const char* newName;
};

struct LegacyKey {
    const char* oldKey;
    const char* newKey;
    std::span<const BinaryValue> binaryValues;
};

constexpr const char* kStringValues[] = {"InstallDir", "Version", "Name",
                                         "Email",      "Country", "Company"};

constexpr BinaryValue kServerBinaryValues[] = {
    {"DNSQuery", "DNSQuery"},
    {"Settings", "Settings"},
    {"SMTPTest", "SMTPTest"},
    {"TOLVANotify", "Notify"},
};

constexpr LegacyKey kLegacyKeys[] = {
    {"Software\\Tolva", "Software\\Corvane\\Tolva Mail Server", kServerBinaryValues},
    {"Software\\CWEBMAIL", "Software\\Corvane\\Corvane Web Mail", {}},
};

// A missing value is carried over as an empty string.
bool CopyString(Registry& registry, const LegacyKey& key, const char* name) {
    RegistryValueType type = RegistryValueType::kNone;
    std::string value;
    if (registry.GetValueType(kRoot, key.oldKey, name, type).ok()) {
        if (type != RegistryValueType::kString && type != RegistryValueType::kExpandString) {
            return false;
        }
        if (!registry.ReadString(kRoot, key.oldKey, name, value).ok()) {
            return false;
        }
    }
    return registry.WriteString(kRoot, key.newKey, name, value).ok();
}

// A missing value is left out.
bool CopyBinary(Registry& registry, const LegacyKey& key, const BinaryValue& binary) {
    RegistryValueType type = RegistryValueType::kNone;
    if (!registry.GetValueType(kRoot, key.oldKey, binary.oldName, type).ok()) {
        return true;
    }
    std::string value;
    if (type != RegistryValueType::kBinary ||
        !registry.ReadBinary(kRoot, key.oldKey, binary.oldName, value).ok() ||
        value.size() > kLegacyBinaryLimit) {
        return false;
    }
    return registry.WriteBinary(kRoot, key.newKey, binary.newName, value).ok();
}

bool Migrate(Registry& registry, const LegacyKey& key, bool deleteLegacy) {
    if (!registry.CreateKey(kRoot, key.newKey).ok()) {
        return false;
    }
    for (const char* name : kStringValues) {
        if (!CopyString(registry, key, name)) {
            return false;
        }
    }
    for (const BinaryValue& binary : key.binaryValues) {
        if (!CopyBinary(registry, key, binary)) {
            return false;
        }
    }
    if (deleteLegacy) {
        (void)registry.RemoveKeyTree(kRoot, key.oldKey);
    }
    return true;
}

}  // namespace

void MigrateLegacyRegistry(platform::Registry& registry, bool deleteLegacy) {
    if (registry.KeyExists(kRoot, kVendorKey)) {
        return;
    }
    for (const LegacyKey& key : kLegacyKeys) {
        if (registry.KeyExists(kRoot, key.oldKey) && !Migrate(registry, key, deleteLegacy)) {
            return;
        }
    }
}

}  // namespace tolva::upgrade

#pragma once
// The Windows registry by root and key path ("Software\Corvane\Tolva Mail Server"), values by name
// ("" is the key's default value).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tolva::platform {

enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig };

// 64-bit Windows shows 32-bit programs their own copy of HKEY_LOCAL_MACHINE\Software (and of a few
// class keys this program never touches); every other key is one for both views. On 32-bit Windows
// both views are the one registry.
enum class RegistryView {
    k32Bit,  // KEY_WOW64_32KEY: what 32-bit programs see, the server's programs among them
    k64Bit,  // KEY_WOW64_64KEY: what 64-bit programs see, such as the system's uninstall list
};

// Where a key path starts: a root key seen through one view. A root alone takes the 32-bit view,
// so every call below uses RegistryView::k32Bit unless the caller names the other view.
struct RegistryHive {
    RegistryHive(RegistryRoot rootKey, RegistryView seenThrough = RegistryView::k32Bit)
        : root(rootKey), view(seenThrough) {}

    RegistryRoot root;
    RegistryView view;
};

enum class RegistryValueType : uint32_t {
    kNone = 0,
    kString = 1,
    kExpandString = 2,
    kBinary = 3,
    kDword = 4
};

class Registry {
public:
    virtual ~Registry() = default;

    // Opens without creating.
    virtual bool KeyExists(RegistryHive hive, std::string_view key) const = 0;
    // Creates the key with every missing parent; success when it exists.
    virtual Status CreateKey(RegistryHive hive, std::string_view key) = 0;

    virtual Status ReadString(RegistryHive hive, std::string_view key, std::string_view name,
                              std::string& value) const = 0;
    virtual Status ReadDword(RegistryHive hive, std::string_view key, std::string_view name,
                             uint32_t& value) const = 0;
    virtual Status ReadBinary(RegistryHive hive, std::string_view key, std::string_view name,
                              std::string& value) const = 0;
    virtual Status GetValueType(RegistryHive hive, std::string_view key, std::string_view name,
                                RegistryValueType& type) const = 0;

    // Writing creates the key when it is missing.
    virtual Status WriteString(RegistryHive hive, std::string_view key, std::string_view name,
                               std::string_view value) = 0;
    virtual Status WriteDword(RegistryHive hive, std::string_view key, std::string_view name,
                              uint32_t value) = 0;
    virtual Status WriteBinary(RegistryHive hive, std::string_view key, std::string_view name,
                               std::string_view value) = 0;

    virtual Status ListValueNames(RegistryHive hive, std::string_view key,
                                  std::vector<std::string>& names) const = 0;
    virtual Status ListSubkeys(RegistryHive hive, std::string_view key,
                               std::vector<std::string>& names) const = 0;
    virtual Status RemoveValue(RegistryHive hive, std::string_view key, std::string_view name) = 0;
    // Removes the key with all its subkeys.
    virtual Status RemoveKeyTree(RegistryHive hive, std::string_view key) = 0;
};

}  // namespace tolva::platform

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
    virtual bool KeyExists(RegistryRoot root, std::string_view key) const = 0;
    // Creates the key with every missing parent; success when it exists.
    virtual Status CreateKey(RegistryRoot root, std::string_view key) = 0;

    virtual Status ReadString(RegistryRoot root, std::string_view key, std::string_view name,
                              std::string& value) const = 0;
    virtual Status ReadDword(RegistryRoot root, std::string_view key, std::string_view name,
                             uint32_t& value) const = 0;
    virtual Status ReadBinary(RegistryRoot root, std::string_view key, std::string_view name,
                              std::string& value) const = 0;
    virtual Status GetValueType(RegistryRoot root, std::string_view key, std::string_view name,
                                RegistryValueType& type) const = 0;

    // Writing creates the key when it is missing.
    virtual Status WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                               std::string_view value) = 0;
    virtual Status WriteDword(RegistryRoot root, std::string_view key, std::string_view name,
                              uint32_t value) = 0;
    virtual Status WriteBinary(RegistryRoot root, std::string_view key, std::string_view name,
                               std::string_view value) = 0;

    virtual Status ListValueNames(RegistryRoot root, std::string_view key,
                                  std::vector<std::string>& names) const = 0;
    virtual Status ListSubkeys(RegistryRoot root, std::string_view key,
                               std::vector<std::string>& names) const = 0;
    virtual Status RemoveValue(RegistryRoot root, std::string_view key, std::string_view name) = 0;
    // Removes the key with all its subkeys.
    virtual Status RemoveKeyTree(RegistryRoot root, std::string_view key) = 0;
};

}  // namespace tolva::platform

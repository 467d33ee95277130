#pragma once
// The registry through the wide Win32 API, in the view each call names: KEY_WOW64_32KEY or
// KEY_WOW64_64KEY (which 32-bit Windows ignores).

#include "platform/registry.h"

namespace tolva::platform {

class Win32Registry : public Registry {
public:
    bool KeyExists(RegistryHive hive, std::string_view key) const override;
    Status CreateKey(RegistryHive hive, std::string_view key) override;

    Status ReadString(RegistryHive hive, std::string_view key, std::string_view name,
                      std::string& value) const override;
    Status ReadDword(RegistryHive hive, std::string_view key, std::string_view name,
                     uint32_t& value) const override;
    Status ReadBinary(RegistryHive hive, std::string_view key, std::string_view name,
                      std::string& value) const override;
    Status GetValueType(RegistryHive hive, std::string_view key, std::string_view name,
                        RegistryValueType& type) const override;

    Status WriteString(RegistryHive hive, std::string_view key, std::string_view name,
                       std::string_view value) override;
    Status WriteDword(RegistryHive hive, std::string_view key, std::string_view name,
                      uint32_t value) override;
    Status WriteBinary(RegistryHive hive, std::string_view key, std::string_view name,
                       std::string_view value) override;

    Status ListValueNames(RegistryHive hive, std::string_view key,
                          std::vector<std::string>& names) const override;
    Status ListSubkeys(RegistryHive hive, std::string_view key,
                       std::vector<std::string>& names) const override;
    Status RemoveValue(RegistryHive hive, std::string_view key, std::string_view name) override;
    // Refuses an empty key: RegDeleteTree would empty the whole root.
    Status RemoveKeyTree(RegistryHive hive, std::string_view key) override;
};

}  // namespace tolva::platform

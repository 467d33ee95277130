#pragma once
// The registry through the wide Win32 API. A 32-bit program sees the 32-bit view of the registry,
// as the server's own programs do.

#include "platform/registry.h"

namespace tolva::platform {

class Win32Registry : public Registry {
public:
    bool KeyExists(RegistryRoot root, std::string_view key) const override;
    Status CreateKey(RegistryRoot root, std::string_view key) override;

    Status ReadString(RegistryRoot root, std::string_view key, std::string_view name,
                      std::string& value) const override;
    Status ReadDword(RegistryRoot root, std::string_view key, std::string_view name,
                     uint32_t& value) const override;
    Status ReadBinary(RegistryRoot root, std::string_view key, std::string_view name,
                      std::string& value) const override;
    Status GetValueType(RegistryRoot root, std::string_view key, std::string_view name,
                        RegistryValueType& type) const override;

    Status WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                       std::string_view value) override;
    Status WriteDword(RegistryRoot root, std::string_view key, std::string_view name,
                      uint32_t value) override;
    Status WriteBinary(RegistryRoot root, std::string_view key, std::string_view name,
                       std::string_view value) override;

    Status ListValueNames(RegistryRoot root, std::string_view key,
                          std::vector<std::string>& names) const override;
    Status ListSubkeys(RegistryRoot root, std::string_view key,
                       std::vector<std::string>& names) const override;
    Status RemoveValue(RegistryRoot root, std::string_view key, std::string_view name) override;
    // Refuses an empty key: RegDeleteTree would empty the whole root.
    Status RemoveKeyTree(RegistryRoot root, std::string_view key) override;
};

}  // namespace tolva::platform

#pragma once
// The registry in memory, as a 32-bit program sees it on 64-bit Windows. Key and value names
// compare without regard to case (the Windows-1252 letters included) and keep the case they were
// created with; subkeys list in name order, values in the order they were first written, as on
// Windows. HKEY_LOCAL_MACHINE\Software is one key per view, created from the start and never
// removed; every other key is shared by both views. Every call is recorded, and a call can be made
// to fail once.

#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace tolva::platform {

struct RegistryCall {
    std::string operation;  // the method's name: "WriteString", "RemoveKeyTree", ...
    RegistryRoot root = RegistryRoot::kLocalMachine;
    std::string key;
    std::string name;  // the value's name; empty for key operations
    RegistryView view = RegistryView::k32Bit;

    bool operator==(const RegistryCall&) const = default;
};

class FakeRegistry : public Registry {
public:
    FakeRegistry();
    ~FakeRegistry() override;

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
    // Stores a REG_EXPAND_SZ value, as other programs leave them behind.
    Status WriteExpandString(RegistryHive hive, std::string_view key, std::string_view name,
                             std::string_view value);

    Status ListValueNames(RegistryHive hive, std::string_view key,
                          std::vector<std::string>& names) const override;
    Status ListSubkeys(RegistryHive hive, std::string_view key,
                       std::vector<std::string>& names) const override;
    Status RemoveValue(RegistryHive hive, std::string_view key, std::string_view name) override;
    Status RemoveKeyTree(RegistryHive hive, std::string_view key) override;

    const std::vector<RegistryCall>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    // The next call of that operation fails with code and changes nothing.
    void FailNext(std::string_view operation, uint32_t code);

private:
    struct Key;

    // Records the call; false with failure set when the call was made to fail.
    bool Begin(const char* operation, RegistryHive hive, std::string_view key,
               std::string_view name, Status& failure) const;
    // HKEY_LOCAL_MACHINE\Software of the hive's view when the key lies there, else the root key;
    // parts keeps the names below it.
    Key* Start(RegistryHive hive, std::vector<std::string_view>& parts) const;
    Key* Find(RegistryHive hive, std::string_view key) const;
    // Finds or creates the key and its parents.
    Key* MakeKey(RegistryHive hive, std::string_view key);
    Status Write(const char* operation, RegistryHive hive, std::string_view key,
                 std::string_view name, RegistryValueType type, std::string data);
    Status Read(const char* operation, RegistryHive hive, std::string_view key,
                std::string_view name, RegistryValueType wanted, RegistryValueType alsoAccepted,
                std::string& data) const;

    std::map<RegistryRoot, std::unique_ptr<Key>> roots_;
    std::unique_ptr<Key> software64_;  // HKEY_LOCAL_MACHINE\Software of the 64-bit view
    mutable std::vector<RegistryCall> calls_;
    mutable std::map<std::string, uint32_t> failures_;
};

}  // namespace tolva::platform

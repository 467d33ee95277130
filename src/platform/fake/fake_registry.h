#pragma once
// The registry in memory. Key and value names compare without regard to case and keep the case they
// were created with; subkeys list in name order, values in the order they were first written, as on
// Windows. Every call is recorded, and a call can be made to fail once.

#include <map>
#include <memory>

#include "platform/registry.h"

namespace tolva::platform {

struct RegistryCall {
    std::string operation;  // the method's name: "WriteString", "RemoveKeyTree", ...
    RegistryRoot root = RegistryRoot::kLocalMachine;
    std::string key;
    std::string name;  // the value's name; empty for key operations

    bool operator==(const RegistryCall&) const = default;
};

class FakeRegistry : public Registry {
public:
    FakeRegistry();
    ~FakeRegistry() override;

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
    // Stores a REG_EXPAND_SZ value, as other programs leave them behind.
    Status WriteExpandString(RegistryRoot root, std::string_view key, std::string_view name,
                             std::string_view value);

    Status ListValueNames(RegistryRoot root, std::string_view key,
                          std::vector<std::string>& names) const override;
    Status ListSubkeys(RegistryRoot root, std::string_view key,
                       std::vector<std::string>& names) const override;
    Status RemoveValue(RegistryRoot root, std::string_view key, std::string_view name) override;
    Status RemoveKeyTree(RegistryRoot root, std::string_view key) override;

    const std::vector<RegistryCall>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    // The next call of that operation fails with code and changes nothing.
    void FailNext(std::string_view operation, uint32_t code);

private:
    struct Key;

    // Records the call; false with failure set when the call was made to fail.
    bool Begin(const char* operation, RegistryRoot root, std::string_view key,
               std::string_view name, Status& failure) const;
    Key* Find(RegistryRoot root, std::string_view key) const;
    // Finds or creates the key and its parents.
    Key* MakeKey(RegistryRoot root, std::string_view key);
    Status Write(const char* operation, RegistryRoot root, std::string_view key,
                 std::string_view name, RegistryValueType type, std::string data);
    Status Read(const char* operation, RegistryRoot root, std::string_view key,
                std::string_view name, RegistryValueType wanted, RegistryValueType alsoAccepted,
                std::string& data) const;

    std::map<RegistryRoot, std::unique_ptr<Key>> roots_;
    mutable std::vector<RegistryCall> calls_;
    mutable std::map<std::string, uint32_t> failures_;
};

}  // namespace tolva::platform

#pragma once
// The registry component of the main window: one key, named by a root, an area (a key path with a
// leading backslash) and a section (its last element), read and written without exceptions. An
// operation that fails fires OnError, when set, instead of raising.

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/registry.h"

namespace tolva::winsys {

class TAdvancedRegistry {
public:
    using ErrorHandler = std::function<void(TAdvancedRegistry& sender)>;

    // The settings a newly placed component starts with.
    explicit TAdvancedRegistry(platform::Registry& registry,
                               platform::RegistryRoot root = platform::RegistryRoot::kCurrentUser,
                               std::string area = "\\Software\\Company",
                               std::string section = "Help");
    TAdvancedRegistry(const TAdvancedRegistry&) = delete;
    TAdvancedRegistry& operator=(const TAdvancedRegistry&) = delete;

    platform::RegistryRoot RegistryRootKey() const { return hive_.root; }
    void SetRegistryRootKey(platform::RegistryRoot root) { hive_.root = root; }
    // The 32-bit view unless set otherwise: the one the server's own programs see.
    platform::RegistryView RegistryView() const { return hive_.view; }
    void SetRegistryView(platform::RegistryView view) { hive_.view = view; }
    const std::string& RegistryArea() const { return area_; }
    void SetRegistryArea(std::string area) { area_ = std::move(area); }
    const std::string& RegistrySection() const { return section_; }
    void SetRegistrySection(std::string section) { section_ = std::move(section); }

    // The key the value operations address: area, a backslash, section.
    std::string SectionKey() const { return area_ + "\\" + section_; }
    // Whether the key exists; nothing fires.
    bool SectionExists() const;

    ErrorHandler OnError;

    // Empty when the key is missing (OnError fires), when the value is missing (silently) and
    // when the value is not a string (OnError fires).
    std::string ReadSectionString(std::string_view name);
    // A 32-bit integer value, non-zero = true. False when the key or the value is missing or the
    // value has another type; each of those fires OnError.
    bool ReadSectionBool(std::string_view name);

    // Creates the key and its parents when missing. A key that cannot be opened fires OnError; a
    // failing write does not. Either failure is returned, so the caller can decide whether the
    // installation goes on.
    platform::Status WriteSectionString(std::string_view name, std::string_view value);
    // Stored as a 32-bit integer 1 or 0.
    platform::Status WriteSectionBool(std::string_view name, bool value);

    // Removes the key (a full path below the root) with all its subkeys; false and OnError on
    // failure, a missing key included.
    bool DeleteRegistryKey(std::string_view keyPath);

private:
    void Fail();

    platform::Registry& registry_;
    platform::RegistryHive hive_;
    std::string area_;
    std::string section_;
};

}  // namespace tolva::winsys

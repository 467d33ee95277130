#include "winsys/advanced_registry.h"

#include <utility>

namespace tolva::winsys {

using platform::Status;

TAdvancedRegistry::TAdvancedRegistry(platform::Registry& registry, platform::RegistryRoot root,
                                     std::string area, std::string section)
    : registry_(registry), hive_(root), area_(std::move(area)), section_(std::move(section)) {}

void TAdvancedRegistry::Fail() {
    if (OnError) {
        OnError(*this);
    }
}

bool TAdvancedRegistry::SectionExists() const {
    return registry_.KeyExists(hive_, SectionKey());
}

std::string TAdvancedRegistry::ReadSectionString(std::string_view name) {
    const std::string key = SectionKey();
    if (!registry_.KeyExists(hive_, key)) {
        Fail();
        return {};
    }
    std::string value;
    if (Status status = registry_.ReadString(hive_, key, name, value); !status) {
        // A value that was never written is an empty string, not an error.
        if (status.code() != platform::error::kFileNotFound) {
            Fail();
        }
        return {};
    }
    return value;
}

bool TAdvancedRegistry::ReadSectionBool(std::string_view name) {
    const std::string key = SectionKey();
    if (!registry_.KeyExists(hive_, key)) {
        Fail();
        return false;
    }
    uint32_t value = 0;
    if (!registry_.ReadDword(hive_, key, name, value).ok()) {
        Fail();
        return false;
    }
    return value != 0;
}

Status TAdvancedRegistry::WriteSectionString(std::string_view name, std::string_view value) {
    const std::string key = SectionKey();
    if (Status opened = registry_.CreateKey(hive_, key); !opened) {
        Fail();
        return opened;
    }
    return registry_.WriteString(hive_, key, name, value);
}

Status TAdvancedRegistry::WriteSectionBool(std::string_view name, bool value) {
    const std::string key = SectionKey();
    if (Status opened = registry_.CreateKey(hive_, key); !opened) {
        Fail();
        return opened;
    }
    return registry_.WriteDword(hive_, key, name, value ? 1u : 0u);
}

bool TAdvancedRegistry::DeleteRegistryKey(std::string_view keyPath) {
    if (!registry_.RemoveKeyTree(hive_, keyPath).ok()) {
        Fail();
        return false;
    }
    return true;
}

}  // namespace tolva::winsys

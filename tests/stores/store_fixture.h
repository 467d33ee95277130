#pragma once
// A machine for the store tests: real files (see store_machine.h), a standing clock and chosen DNS
// servers, and a server installed at C:\Tolva\.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_system.h"
#include "store_machine.h"
#include "stores/settings_record.h"
#include "stores/settings_store.h"

namespace tolva::stores::testing {

class StoreTest : public ::testing::Test {
protected:
    static constexpr char kInstall[] = "C:\\Tolva\\";
    static constexpr char kConfig[] = "C:\\Tolva\\config\\";

    StoreTest();

    // A store over this machine whose server paths were set up for kInstall. The file system may
    // be replaced, to inject failures.
    std::unique_ptr<SettingsStore> NewStore(platform::FileSystem* files = nullptr);

    void Put(const std::string& path, const std::string& content);
    std::string Get(const std::string& path);
    bool Exists(const std::string& path);
    std::unique_ptr<NativeMachine> machine_;
    platform::FakeSystem system_;
    platform::Platform services_;
};

// The bytes of a settings.cfg holding the record, or only its first length bytes.
std::string SettingsFile(const SettingsRecord& record, size_t length = SettingsRecord::kSize);
// The bytes of a domains.cfg with these names.
std::string DomainsFile(const std::vector<std::string>& names);
std::string Bytes(const uint8_t* data, size_t size);

}  // namespace tolva::stores::testing

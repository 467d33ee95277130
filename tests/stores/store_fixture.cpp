#include "store_fixture.h"

#include "stores/domain_table.h"
#include "stores/scramble.h"
#include "util/string_file.h"

namespace tolva::stores::testing {

StoreTest::StoreTest() : machine_(MakeNativeMachine()) {
    services_ = machine_->Services();
    services_.system = &system_;
    system_.SetDnsServers({"192.0.2.53", "198.51.100.53"});
}

std::unique_ptr<SettingsStore> StoreTest::NewStore(platform::FileSystem* files) {
    platform::Platform services = services_;
    if (files != nullptr) {
        services.files = files;
    }
    auto store = std::make_unique<SettingsStore>(services);
    store->SetRootFolder(kInstall);
    store->InitServerPaths();
    return store;
}

void StoreTest::Put(const std::string& path, const std::string& content) {
    ASSERT_TRUE(util::WriteCreatingFolders(*services_.files, path, content)) << path;
}

std::string StoreTest::Get(const std::string& path) {
    std::string content;
    EXPECT_TRUE(services_.files->ReadWholeFile(path, content).ok()) << path;
    return content;
}

bool StoreTest::Exists(const std::string& path) {
    return services_.files->FileExists(path);
}

std::string SettingsFile(const SettingsRecord& record, size_t length) {
    std::string bytes(reinterpret_cast<const char*>(record.bytes().data()), SettingsRecord::kSize);
    ScrambleBlock(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size(), 0);
    return bytes.substr(0, length);
}

std::string DomainsFile(const std::vector<std::string>& names) {
    DomainTable table;
    table.Allocate(static_cast<int>(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        table.SetName(static_cast<int>(i), names[i]);
    }
    return Bytes(table.Data(), names.size() * DomainTable::kRecordSize);
}

std::string Bytes(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace tolva::stores::testing

// The bracket around uses of the database connection, seen from a second thread that wants lock 5,
// and the connection's entry points of a library that lacks some of them. The library needs no
// settings store: a record, a root folder and the locks are all it reads.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/fake/fake_libraries.h"
#include "stores/database_entry_points.h"
#include "stores/database_library.h"

namespace tolva::stores {
namespace {

class DatabaseUseTest : public ::testing::Test {
protected:
    // Whether another thread could take lock 5 just now.
    bool LockFreeForOthers() {
        bool free = false;
        std::thread([&] {
            free = locks_.TryLock(5);
            if (free) {
                locks_.Unlock(5);
            }
        }).join();
        return free;
    }

    NumberedLocks locks_;
    SettingsRecord record_;
    std::string root_ = "C:\\Tolva\\";
    DatabaseLibrary library_{nullptr, locks_, {record_, root_}};
};

TEST_F(DatabaseUseTest, WithoutPoolingEveryUseIsSerialised) {
    record_.SetDatabaseUsePooling(false);
    const DatabaseUse use = library_.EnterDatabaseUse();
    EXPECT_FALSE(LockFreeForOthers());
    library_.LeaveDatabaseUse(use);
    EXPECT_TRUE(LockFreeForOthers());
}

TEST_F(DatabaseUseTest, PooledUsesRunSideBySideUpToTheLimit) {
    record_.SetDatabaseUsePooling(true);
    record_.SetDatabaseUseLimit(2);
    const DatabaseUse first = library_.EnterDatabaseUse();
    EXPECT_TRUE(LockFreeForOthers());
    const DatabaseUse second = library_.EnterDatabaseUse();
    EXPECT_FALSE(LockFreeForOthers());
    // The limit changing in between does not change what leaving undoes.
    record_.SetDatabaseUsePooling(false);
    library_.LeaveDatabaseUse(second);
    EXPECT_TRUE(LockFreeForOthers());
    const DatabaseUse third = library_.EnterDatabaseUse();
    library_.LeaveDatabaseUse(third);
    library_.LeaveDatabaseUse(first);
    EXPECT_TRUE(LockFreeForOthers());

    record_.SetDatabaseUsePooling(true);
    record_.SetDatabaseUseLimit(0);
    const DatabaseUse unlimited = library_.EnterDatabaseUse();
    EXPECT_TRUE(LockFreeForOthers());
    library_.LeaveDatabaseUse(unlimited);
}

std::vector<std::string> entryCalls;

void TOLVA_DB_CALL SetConnection(const char* connection) {
    entryCalls.push_back(std::string("DBSetConnection ") + connection);
}

void TOLVA_DB_CALL LoadConfig(const char* root) {
    entryCalls.push_back(std::string("DBLoadConfig ") + root);
}

TEST(DatabaseConnectTest, EachEntryPointTheLibraryHasIsCalled) {
    void* const setConnection =
        reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(&SetConnection));
    void* const loadConfig = reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(&LoadConfig));
    const struct {
        std::map<std::string, void*> exports;
        std::vector<std::string> calls;
    } cases[] = {
        {{{"DBSetConnection", setConnection}, {"DBLoadConfig", loadConfig}},
         {"DBSetConnection db;sa;;host;3;2", "DBLoadConfig C:\\Tolva\\"}},
        {{{"DBLoadConfig", loadConfig}}, {"DBLoadConfig C:\\Tolva\\"}},
        {{{"DBSetConnection", setConnection}}, {"DBSetConnection db;sa;;host;3;2"}},
    };
    for (const auto& c : cases) {
        platform::MemoryFileSystem files;
        platform::FakeLibraries libraries(files);
        libraries.Add("C:\\Tolva\\db.dll", c.exports);
        NumberedLocks locks;
        SettingsRecord record;
        record.SetAccountStorageConnection("db;sa;;host;3;2");
        const std::string root = "C:\\Tolva\\";
        DatabaseLibrary library(&libraries, locks, {record, root});
        entryCalls.clear();
        EXPECT_TRUE(library.ConnectDatabaseLibrary(false));
        EXPECT_EQ(entryCalls, c.calls) << c.exports.size() << " exports";
    }
}

}  // namespace
}  // namespace tolva::stores

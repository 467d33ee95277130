// The bracket around uses of the database connection, seen from a second thread that wants lock 5.
// The library needs no settings store: a record, a root folder and the locks are all it reads.

#include <gtest/gtest.h>

#include <string>
#include <thread>

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

}  // namespace
}  // namespace tolva::stores

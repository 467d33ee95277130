// The bracket around uses of the database connection, seen from a second thread that wants lock 5.

#include <gtest/gtest.h>

#include <thread>

#include "store_fixture.h"

namespace tolva::stores {
namespace {

class DatabaseUseTest : public testing::StoreTest {
protected:
    // Whether another thread could take lock 5 just now.
    bool LockFreeForOthers(SettingsStore& store) {
        bool free = false;
        std::thread([&] {
            free = store.Locks().TryLock(5);
            if (free) {
                store.Locks().Unlock(5);
            }
        }).join();
        return free;
    }
};

TEST_F(DatabaseUseTest, WithoutPoolingEveryUseIsSerialised) {
    auto store = NewStore();
    store->Record().SetDatabaseUsePooling(false);
    DatabaseLibrary& library = store->Database();
    const DatabaseUse use = library.EnterDatabaseUse();
    EXPECT_FALSE(LockFreeForOthers(*store));
    library.LeaveDatabaseUse(use);
    EXPECT_TRUE(LockFreeForOthers(*store));
}

TEST_F(DatabaseUseTest, PooledUsesRunSideBySideUpToTheLimit) {
    auto store = NewStore();
    store->Record().SetDatabaseUsePooling(true);
    store->Record().SetDatabaseUseLimit(2);
    DatabaseLibrary& library = store->Database();
    const DatabaseUse first = library.EnterDatabaseUse();
    EXPECT_TRUE(LockFreeForOthers(*store));
    const DatabaseUse second = library.EnterDatabaseUse();
    EXPECT_FALSE(LockFreeForOthers(*store));
    // The limit changing in between does not change what leaving undoes.
    store->Record().SetDatabaseUsePooling(false);
    library.LeaveDatabaseUse(second);
    EXPECT_TRUE(LockFreeForOthers(*store));
    const DatabaseUse third = library.EnterDatabaseUse();
    library.LeaveDatabaseUse(third);
    library.LeaveDatabaseUse(first);
    EXPECT_TRUE(LockFreeForOthers(*store));

    store->Record().SetDatabaseUsePooling(true);
    store->Record().SetDatabaseUseLimit(0);
    const DatabaseUse unlimited = library.EnterDatabaseUse();
    EXPECT_TRUE(LockFreeForOthers(*store));
    library.LeaveDatabaseUse(unlimited);
}

}  // namespace
}  // namespace tolva::stores

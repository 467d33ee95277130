#pragma once
// The server's database library (db.dll): loading, connecting and releasing it, the bracket around
// every use of its connection, and the entry points the stores call.
//
// The library is looked for in the root folder, then in its "lib" subfolder, then on the system's
// search path. An entry point the library lacks is never called: its call reports failure.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/libraries.h"
#include "stores/database_entry_points.h"
#include "stores/numbered_locks.h"
#include "stores/settings_record.h"

namespace tolva::stores {

// What the library reads from the server's settings whenever it needs them: the account storage
// connection and the use bracket's pooling option and limit from the record, and the root folder
// where it looks for the library and which it hands to it. Both outlive the library.
struct DatabaseSettings {
    const SettingsRecord& record;
    const std::string& rootFolder;
};

// What EnterDatabaseUse did, so that LeaveDatabaseUse undoes exactly that.
struct DatabaseUse {
    enum class Kind { kNone, kSerialised, kCounted };
    Kind kind = Kind::kNone;
    bool holdsLock = false;
};

class DatabaseLibrary {
public:
    // libraries may be null: the library then never loads. Lock 5 of locks brackets the uses.
    DatabaseLibrary(platform::Libraries* libraries, NumberedLocks& locks,
                    DatabaseSettings settings);
    ~DatabaseLibrary();
    DatabaseLibrary(const DatabaseLibrary&) = delete;
    DatabaseLibrary& operator=(const DatabaseLibrary&) = delete;

    bool IsLoaded() const { return library_ != nullptr; }
    bool LoadDatabaseLibrary();
    // Loads the library when needed and hands it the account storage connection and the root
    // folder; with force it does so even when the library is loaded already.
    bool ConnectDatabaseLibrary(bool force);
    // Ends the connection and unloads the library, so that the next use starts afresh.
    void ReleaseDatabaseLibrary();

    // With the record's pooling option off every use is serialised by lock 5; with it on, uses
    // run side by side until their number reaches the record's limit (none at a limit of 0 or
    // below), and the user that reaches it holds lock 5 until it leaves.
    DatabaseUse EnterDatabaseUse();
    void LeaveDatabaseUse(const DatabaseUse& use);

    // The entry points, each inside the use bracket. Failure (no library, no entry point, a
    // negative count) reads as nullopt or false.
    bool DBSetConnection(std::string_view connection);
    std::optional<std::string> DBGetConnection();
    std::optional<int32_t> DBGetDomainCount();
    bool DBGetDomains(uint8_t* table, int32_t count);
    bool DBInitUsers(std::string_view domain, uint8_t* iterator, int32_t skip);
    // True when the iteration is finished or failed.
    bool DBNextUser(uint8_t* iterator);
    void DBDoneUsers(uint8_t* iterator);
    std::optional<int32_t> DBGetUsersIndex(std::string_view domain, std::string_view alias);
    std::optional<int32_t> DBGetUsers(std::string_view domain, uint8_t* record, int32_t index);
    bool DBSaveUsers(std::string_view domain, const uint8_t* record, int32_t& index);
    std::optional<int32_t> DBGetTotalUsers(std::string_view domain);

private:
    struct EntryPoints {
        db::SetConnectionFn setConnection = nullptr;
        db::LoadConfigFn loadConfig = nullptr;
        db::GetConnectionFn getConnection = nullptr;
        db::DoneConnectionFn doneConnection = nullptr;
        db::GetDomainCountFn getDomainCount = nullptr;
        db::GetDomainsFn getDomains = nullptr;
        db::InitUsersFn initUsers = nullptr;
        db::NextUserFn nextUser = nullptr;
        db::DoneUsersFn doneUsers = nullptr;
        db::GetUsersIndexFn getUsersIndex = nullptr;
        db::GetUsersFn getUsers = nullptr;
        db::SaveUsersFn saveUsers = nullptr;
        db::GetTotalUsersFn getTotalUsers = nullptr;
    };

    void ResolveEntryPoints();

    platform::Libraries* libraries_;
    NumberedLocks& locks_;
    DatabaseSettings settings_;
    std::unique_ptr<platform::Library> library_;
    EntryPoints entry_;
    int32_t users_ = 0;  // current users, guarded by lock 5
};

// Holds a database use for a scope.
class DatabaseUseScope {
public:
    explicit DatabaseUseScope(DatabaseLibrary& library)
        : library_(library), use_(library.EnterDatabaseUse()) {}
    ~DatabaseUseScope() { library_.LeaveDatabaseUse(use_); }
    DatabaseUseScope(const DatabaseUseScope&) = delete;
    DatabaseUseScope& operator=(const DatabaseUseScope&) = delete;

private:
    DatabaseLibrary& library_;
    DatabaseUse use_;
};

}  // namespace tolva::stores

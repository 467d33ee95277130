#include "stores/database_library.h"

#include <vector>

namespace tolva::stores {

namespace {

constexpr int kDatabaseLock = 5;
constexpr size_t kStringLimit = 255;

std::string Argument(std::string_view text) {
    return std::string(text.substr(0, kStringLimit));
}

}  // namespace

DatabaseLibrary::DatabaseLibrary(platform::Libraries* libraries, NumberedLocks& locks,
                                 DatabaseSettings settings)
    : libraries_(libraries), locks_(locks), settings_(settings) {}

DatabaseLibrary::~DatabaseLibrary() {
    ReleaseDatabaseLibrary();
}

bool DatabaseLibrary::LoadDatabaseLibrary() {
    if (IsLoaded()) {
        return true;
    }
    if (libraries_ == nullptr) {
        return false;
    }
    const std::string& root = settings_.rootFolder;
    std::vector<std::string> candidates;
    if (!root.empty()) {
        candidates = {root + "db.dll", root + "lib\\db.dll"};
    }
    candidates.emplace_back("db.dll");
    for (const std::string& candidate : candidates) {
        if (libraries_->Load(candidate, library_).ok()) {
            ResolveEntryPoints();
            return true;
        }
    }
    return false;
}

void DatabaseLibrary::ResolveEntryPoints() {
    const auto find = [&]<typename Fn>(Fn& target, std::string_view name) {
        target = reinterpret_cast<Fn>(library_->Lookup(name));
    };
    find(entry_.setConnection, "DBSetConnection");
    find(entry_.loadConfig, "DBLoadConfig");
    find(entry_.getConnection, "DBGetConnection");
    find(entry_.doneConnection, "DBDoneConnection");
    find(entry_.getDomainCount, "DBGetDomainCount");
    find(entry_.getDomains, "DBGetDomains");
    find(entry_.initUsers, "DBInitUsers");
    find(entry_.nextUser, "DBNextUser");
    find(entry_.doneUsers, "DBDoneUsers");
    find(entry_.getUsersIndex, "DBGetUsersIndex");
    find(entry_.getUsers, "DBGetUsers");
    find(entry_.saveUsers, "DBSaveUsers");
    find(entry_.getTotalUsers, "DBGetTotalUsers");
}

bool DatabaseLibrary::ConnectDatabaseLibrary(bool force) {
    if (IsLoaded() && !force) {
        return true;
    }
    if (!LoadDatabaseLibrary()) {
        return false;
    }
    DatabaseUseScope use(*this);
    // A missing entry point is skipped; the other is still called.
    if (entry_.setConnection != nullptr) {
        entry_.setConnection(Argument(settings_.record.AccountStorageConnection()).c_str());
    }
    if (entry_.loadConfig != nullptr) {
        entry_.loadConfig(Argument(settings_.rootFolder).c_str());
    }
    return true;
}

void DatabaseLibrary::ReleaseDatabaseLibrary() {
    if (!IsLoaded()) {
        return;
    }
    // The library stays loaded until its DBDoneConnection has returned.
    const std::unique_ptr<platform::Library> library = std::move(library_);
    const db::DoneConnectionFn done = entry_.doneConnection;
    entry_ = {};
    if (done != nullptr) {
        done();
    }
}

DatabaseUse DatabaseLibrary::EnterDatabaseUse() {
    const SettingsRecord& record = settings_.record;
    if (!record.DatabaseUsePooling()) {
        locks_.Lock(kDatabaseLock);
        return {DatabaseUse::Kind::kSerialised, true};
    }
    const int32_t limit = record.DatabaseUseLimit();
    if (limit <= 0) {
        return {DatabaseUse::Kind::kNone, false};
    }
    locks_.Lock(kDatabaseLock);
    ++users_;
    if (users_ >= limit) {
        return {DatabaseUse::Kind::kCounted, true};
    }
    locks_.Unlock(kDatabaseLock);
    return {DatabaseUse::Kind::kCounted, false};
}

void DatabaseLibrary::LeaveDatabaseUse(const DatabaseUse& use) {
    switch (use.kind) {
        case DatabaseUse::Kind::kNone:
            break;
        case DatabaseUse::Kind::kSerialised:
            locks_.Unlock(kDatabaseLock);
            break;
        case DatabaseUse::Kind::kCounted:
            locks_.Lock(kDatabaseLock);
            --users_;
            locks_.Unlock(kDatabaseLock);
            if (use.holdsLock) {
                locks_.Unlock(kDatabaseLock);
            }
            break;
    }
}

bool DatabaseLibrary::DBSetConnection(std::string_view connection) {
    if (entry_.setConnection == nullptr) {
        return false;
    }
    DatabaseUseScope use(*this);
    entry_.setConnection(Argument(connection).c_str());
    return true;
}

std::optional<std::string> DatabaseLibrary::DBGetConnection() {
    if (entry_.getConnection == nullptr) {
        return std::nullopt;
    }
    DatabaseUseScope use(*this);
    const char* connection = entry_.getConnection();
    return connection == nullptr ? std::string() : Argument(connection);
}

std::optional<int32_t> DatabaseLibrary::DBGetDomainCount() {
    if (entry_.getDomainCount == nullptr) {
        return std::nullopt;
    }
    DatabaseUseScope use(*this);
    const int32_t count = entry_.getDomainCount();
    return count < 0 ? std::nullopt : std::optional(count);
}

bool DatabaseLibrary::DBGetDomains(uint8_t* table, int32_t count) {
    if (entry_.getDomains == nullptr) {
        return false;
    }
    DatabaseUseScope use(*this);
    return entry_.getDomains(table, count) != 0;
}

bool DatabaseLibrary::DBInitUsers(std::string_view domain, uint8_t* iterator, int32_t skip) {
    if (entry_.initUsers == nullptr) {
        return false;
    }
    DatabaseUseScope use(*this);
    return entry_.initUsers(Argument(domain).c_str(), iterator, -1, skip) != 0;
}

bool DatabaseLibrary::DBNextUser(uint8_t* iterator) {
    if (entry_.nextUser == nullptr) {
        return true;
    }
    DatabaseUseScope use(*this);
    return entry_.nextUser(iterator) != 0;
}

void DatabaseLibrary::DBDoneUsers(uint8_t* iterator) {
    if (entry_.doneUsers == nullptr) {
        return;
    }
    DatabaseUseScope use(*this);
    entry_.doneUsers(iterator);
}

std::optional<int32_t> DatabaseLibrary::DBGetUsersIndex(std::string_view domain,
                                                        std::string_view alias) {
    if (entry_.getUsersIndex == nullptr) {
        return std::nullopt;
    }
    DatabaseUseScope use(*this);
    return entry_.getUsersIndex(Argument(domain).c_str(), Argument(alias).c_str());
}

std::optional<int32_t> DatabaseLibrary::DBGetUsers(std::string_view domain, uint8_t* record,
                                                   int32_t index) {
    if (entry_.getUsers == nullptr) {
        return std::nullopt;
    }
    DatabaseUseScope use(*this);
    const int32_t count = entry_.getUsers(Argument(domain).c_str(), record, index);
    return count < 0 ? std::nullopt : std::optional(count);
}

bool DatabaseLibrary::DBSaveUsers(std::string_view domain, const uint8_t* record, int32_t& index) {
    if (entry_.saveUsers == nullptr) {
        return false;
    }
    DatabaseUseScope use(*this);
    return entry_.saveUsers(Argument(domain).c_str(), record, &index) != 0;
}

std::optional<int32_t> DatabaseLibrary::DBGetTotalUsers(std::string_view domain) {
    if (entry_.getTotalUsers == nullptr) {
        return std::nullopt;
    }
    DatabaseUseScope use(*this);
    const int32_t count = entry_.getTotalUsers(Argument(domain).c_str());
    return count < 0 ? std::nullopt : std::optional(count);
}

}  // namespace tolva::stores

// The entry points of the server's database library over the stand-in's file store. Each call is
// recorded in the store's calls.log, connection passwords starred.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "standin_store.h"
#include "standin_text/connection_mask.h"
#include "stores/database_entry_points.h"

#if defined(_WIN32)
#define DB_EXPORT extern "C" __declspec(dllexport)
#else
#define DB_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace db = tolva::stores::db;
using tolva::dbstandin::AccountAliases;
using tolva::dbstandin::StandinStore;

namespace {

// The library is loaded once per process; its connection is process-wide, as the real one's is.
StandinStore& Store() {
    static StandinStore store;
    return store;
}

std::string Text(const char* text) {
    return text == nullptr ? std::string() : std::string(text, strnlen(text, 255));
}

// The library's part of an iterator block: a marker, the next position and the domain name.
constexpr uint32_t kIteratorMarker = 0x49534244;
constexpr size_t kStateMarker = db::kAccountRecordSize;
constexpr size_t kStateNext = kStateMarker + 4;
constexpr size_t kStateDomain = kStateNext + 4;
constexpr size_t kStateDomainSize = 96;

void PutU32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

uint32_t GetU32(const uint8_t* at) {
    return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

}  // namespace

DB_EXPORT void TOLVA_DB_CALL DBSetConnection(const char* connection) {
    Store().SetConnection(Text(connection));
    Store().Log("DBSetConnection " + tolva::standin::MaskConnectionPasswords(Text(connection)));
}

DB_EXPORT void TOLVA_DB_CALL DBLoadConfig(const char* rootFolder) {
    Store().Log("DBLoadConfig " + Text(rootFolder));
}

DB_EXPORT const char* TOLVA_DB_CALL DBGetConnection() {
    Store().Log("DBGetConnection");
    return Store().Connection().c_str();
}

DB_EXPORT void TOLVA_DB_CALL DBDoneConnection() {
    Store().Log("DBDoneConnection");
    Store().Disconnect();
}

DB_EXPORT int32_t TOLVA_DB_CALL DBGetDomainCount() {
    Store().Log("DBGetDomainCount");
    if (!Store().IsConnected()) {
        return -1;
    }
    return static_cast<int32_t>(Store().DomainNames().size());
}

DB_EXPORT int32_t TOLVA_DB_CALL DBGetDomains(uint8_t* table, int32_t count) {
    Store().Log("DBGetDomains " + std::to_string(count));
    if (!Store().IsConnected() || table == nullptr || count < 0) {
        return 0;
    }
    const std::string records = Store().DomainRecords();
    const size_t bytes =
        std::min(records.size(), static_cast<size_t>(count) * db::kDomainRecordSize);
    std::memset(table, 0, static_cast<size_t>(count) * db::kDomainRecordSize);
    std::memcpy(table, records.data(), bytes);
    return 1;
}

DB_EXPORT int32_t TOLVA_DB_CALL DBInitUsers(const char* domain, uint8_t* iterator, int32_t first,
                                            int32_t skip) {
    Store().Log("DBInitUsers " + Text(domain) + " " + std::to_string(first) + " " +
                std::to_string(skip));
    std::vector<std::string> records;
    if (iterator == nullptr || !Store().ReadAccounts(Text(domain), records)) {
        return 0;
    }
    std::memset(iterator, 0, db::kIteratorBlockSize);
    PutU32(iterator + kStateMarker, kIteratorMarker);
    PutU32(iterator + kStateNext, static_cast<uint32_t>(std::max(skip, 0)));
    const std::string name = Text(domain).substr(0, kStateDomainSize - 1);
    std::memcpy(iterator + kStateDomain, name.data(), name.size());
    return 1;
}

DB_EXPORT int32_t TOLVA_DB_CALL DBNextUser(uint8_t* iterator) {
    Store().Log("DBNextUser");
    if (iterator == nullptr || GetU32(iterator + kStateMarker) != kIteratorMarker) {
        return 1;
    }
    const std::string domain(
        reinterpret_cast<const char*>(iterator + kStateDomain),
        strnlen(reinterpret_cast<const char*>(iterator + kStateDomain), kStateDomainSize - 1));
    std::vector<std::string> records;
    const uint32_t next = GetU32(iterator + kStateNext);
    if (!Store().ReadAccounts(domain, records) || next >= records.size()) {
        return 1;
    }
    std::memcpy(iterator, records[next].data(), db::kAccountRecordSize);
    PutU32(iterator + kStateNext, next + 1);
    return 0;
}

DB_EXPORT void TOLVA_DB_CALL DBDoneUsers(uint8_t* iterator) {
    Store().Log("DBDoneUsers");
    if (iterator != nullptr) {
        PutU32(iterator + kStateMarker, 0);
    }
}

DB_EXPORT int32_t TOLVA_DB_CALL DBGetUsersIndex(const char* domain, const char* alias) {
    Store().Log("DBGetUsersIndex " + Text(domain) + " " + Text(alias));
    std::vector<std::string> records;
    if (!Store().ReadAccounts(Text(domain), records)) {
        return -1;
    }
    std::string wanted = Text(alias);
    std::transform(wanted.begin(), wanted.end(), wanted.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (size_t i = 0; i < records.size(); ++i) {
        const std::vector<std::string> aliases = AccountAliases(records[i]);
        if (std::find(aliases.begin(), aliases.end(), wanted) != aliases.end()) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

DB_EXPORT int32_t TOLVA_DB_CALL DBGetUsers(const char* domain, uint8_t* record, int32_t index) {
    Store().Log("DBGetUsers " + Text(domain) + " " + std::to_string(index));
    std::vector<std::string> records;
    if (!Store().ReadAccounts(Text(domain), records)) {
        return 0;
    }
    if (record != nullptr && index >= 0 && static_cast<size_t>(index) < records.size()) {
        std::memcpy(record, records[static_cast<size_t>(index)].data(), db::kAccountRecordSize);
    }
    return static_cast<int32_t>(records.size());
}

DB_EXPORT int32_t TOLVA_DB_CALL DBSaveUsers(const char* domain, const uint8_t* record,
                                            int32_t* index) {
    Store().Log("DBSaveUsers " + Text(domain) + " " + std::to_string(index ? *index : -2));
    if (record == nullptr || index == nullptr) {
        return 0;
    }
    const std::string data(reinterpret_cast<const char*>(record), db::kAccountRecordSize);
    return Store().WriteAccount(Text(domain), data, *index) ? 1 : 0;
}

DB_EXPORT int32_t TOLVA_DB_CALL DBGetTotalUsers(const char* domain) {
    Store().Log("DBGetTotalUsers " + Text(domain));
    std::vector<std::string> domains;
    if (Text(domain).empty()) {
        domains = Store().DomainNames();
    } else {
        domains.push_back(Text(domain));
    }
    int32_t total = 0;
    for (const std::string& name : domains) {
        std::vector<std::string> records;
        if (Store().ReadAccounts(name, records)) {
            total += static_cast<int32_t>(records.size());
        }
    }
    return total;
}

#pragma once
// The calling contract of the server's database library (db.dll): the entry points it exports by
// name and their C signatures. Included by the loader and by every library that offers them.
//
// Strings are 8-bit, zero-terminated, at most 255 characters. Booleans are 32-bit, nonzero true.
// A domain record is 96 bytes and an account record 2848 bytes, as in the server's files.
// An account iterator is a block of kIteratorBlockSize bytes: the current account record first,
// then kIteratorStateSize bytes that belong to the library between DBInitUsers and DBDoneUsers.

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define TOLVA_DB_CALL __stdcall
#else
#define TOLVA_DB_CALL
#endif

namespace tolva::stores::db {

inline constexpr size_t kDomainRecordSize = 96;
inline constexpr size_t kAccountRecordSize = 2848;
inline constexpr size_t kIteratorStateSize = 1024;
inline constexpr size_t kIteratorBlockSize = kAccountRecordSize + kIteratorStateSize;

extern "C" {
using SetConnectionFn = void(TOLVA_DB_CALL*)(const char* connection);
using LoadConfigFn = void(TOLVA_DB_CALL*)(const char* rootFolder);
// Valid until the next call into the library.
using GetConnectionFn = const char*(TOLVA_DB_CALL*)();
using DoneConnectionFn = void(TOLVA_DB_CALL*)();
// Negative on failure.
using GetDomainCountFn = int32_t(TOLVA_DB_CALL*)();
// Fills count domain records.
using GetDomainsFn = int32_t(TOLVA_DB_CALL*)(uint8_t* table, int32_t count);
// first is always -1; skip is the number of accounts to pass over. True when the iteration started.
using InitUsersFn = int32_t(TOLVA_DB_CALL*)(const char* domain, uint8_t* iterator, int32_t first,
                                            int32_t skip);
// True when the iteration is finished; otherwise the iterator's record holds the next account.
using NextUserFn = int32_t(TOLVA_DB_CALL*)(uint8_t* iterator);
using DoneUsersFn = void(TOLVA_DB_CALL*)(uint8_t* iterator);
// Index of the first account matching the alias, or -1.
using GetUsersIndexFn = int32_t(TOLVA_DB_CALL*)(const char* domain, const char* alias);
// Number of accounts of the domain; fills the record when the index is valid.
using GetUsersFn = int32_t(TOLVA_DB_CALL*)(const char* domain, uint8_t* record, int32_t index);
// index -1 adds an account and returns its index. True when saved.
using SaveUsersFn = int32_t(TOLVA_DB_CALL*)(const char* domain, const uint8_t* record,
                                            int32_t* index);
// An empty domain counts every domain.
using GetTotalUsersFn = int32_t(TOLVA_DB_CALL*)(const char* domain);
}

}  // namespace tolva::stores::db

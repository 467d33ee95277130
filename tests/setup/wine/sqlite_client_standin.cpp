// A stand-in for the SQLite library a Windows machine provides (sqlite3.dll in the system folder),
// for the Wine runs of the database dialog: the five calls of its connection test. Opening creates
// the database file as SQLite does, and fails as SQLite does when its folder is missing.

#include <windows.h>

#include <new>

namespace {

constexpr int kOk = 0;
constexpr int kCantOpen = 14;  // SQLITE_CANTOPEN

struct Database {
    const char* error = "not an error";
};

}  // namespace

extern "C" {

__declspec(dllexport) int sqlite3_open16(const void* name, void** handle) {
    Database* database = new (std::nothrow) Database;
    *handle = database;
    if (database == nullptr) {
        return 7;  // SQLITE_NOMEM
    }
    HANDLE file = ::CreateFileW(static_cast<const wchar_t*>(name), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        database->error = "unable to open database file";
        return kCantOpen;
    }
    ::CloseHandle(file);
    return kOk;
}

__declspec(dllexport) int sqlite3_busy_timeout(void*, int) {
    return kOk;
}

__declspec(dllexport) int sqlite3_exec(void*, const char*, void*, void*, char**) {
    return kOk;
}

__declspec(dllexport) const char* sqlite3_errmsg(void* handle) {
    return handle == nullptr ? "out of memory" : static_cast<Database*>(handle)->error;
}

__declspec(dllexport) int sqlite3_close(void* handle) {
    delete static_cast<Database*>(handle);
    return kOk;
}

}  // extern "C"

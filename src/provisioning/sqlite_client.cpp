#include "provisioning/database_client.h"

namespace tolva::provisioning {
namespace {

using Handle = void*;  // sqlite3*

constexpr int kBusyTimeout = 2000;

struct SqliteApi {
    int (*open16)(const void*, Handle*) = nullptr;
    int (*busyTimeout)(Handle, int) = nullptr;
    int (*exec)(Handle, const char*, void*, void*, char**) = nullptr;
    const char* (*errmsg)(Handle) = nullptr;
    int (*close)(Handle) = nullptr;

    bool Load(ClientLibraries& libraries) {
        const platform::Library* library = libraries.Get(ClientKind::kSqlite);
        return library != nullptr && Resolve(libraries, library, "sqlite3_open16", open16) &&
               Resolve(libraries, library, "sqlite3_busy_timeout", busyTimeout) &&
               Resolve(libraries, library, "sqlite3_exec", exec) &&
               Resolve(libraries, library, "sqlite3_errmsg", errmsg) &&
               Resolve(libraries, library, "sqlite3_close", close);
    }
};

bool IsRelative(std::string_view path) {
    return !path.starts_with('\\') && !path.starts_with('/') &&
           path.find(':') == std::string_view::npos;
}

class SqliteClient : public DatabaseClient {
public:
    SqliteClient(ClientLibraries& libraries, const platform::System& system,
                 std::string programFolder)
        : libraries_(libraries), system_(system), programFolder_(std::move(programFolder)) {}
    ~SqliteClient() override { Disconnect(); }
    SqliteClient(const SqliteClient&) = delete;
    SqliteClient& operator=(const SqliteClient&) = delete;

    bool Connect(const ConnectionPart& part, std::string& error) override {
        Disconnect();
        if (!api_.Load(libraries_)) {
            error = "Failed to load SQLite3 library";
            return false;
        }
        const std::string path = IsRelative(part.dsn) ? programFolder_ + part.dsn : part.dsn;
        // UTF-16 names every file, whatever the code page.
        const std::u16string name = system_.AnsiToWide(libraries_.PathForLibrary(path));
        if (api_.open16(name.c_str(), &handle_) != 0) {
            std::string reason = handle_ != nullptr ? api_.errmsg(handle_) : "unknown error";
            Disconnect();
            error = "Failed to open database \"" + path + "\" : " + reason;
            return false;
        }
        api_.busyTimeout(handle_, kBusyTimeout);
        api_.exec(handle_, "PRAGMA synchronous = OFF;", nullptr, nullptr, nullptr);
        api_.exec(handle_, "PRAGMA temp_store = MEMORY;", nullptr, nullptr, nullptr);
        return true;
    }

    void Disconnect() override {
        if (handle_ != nullptr) {
            api_.close(handle_);
            handle_ = nullptr;
        }
    }

private:
    ClientLibraries& libraries_;
    const platform::System& system_;
    std::string programFolder_;
    SqliteApi api_;
    Handle handle_ = nullptr;
};

}  // namespace

std::unique_ptr<DatabaseClient> MakeSqliteClient(ClientLibraries& libraries,
                                                 const platform::System& system,
                                                 std::string programFolder) {
    return std::make_unique<SqliteClient>(libraries, system, std::move(programFolder));
}

}  // namespace tolva::provisioning

#pragma once
// The libraries of the four database clients, each loaded at run time on first use and kept
// until the ClientLibraries object goes (a client library that starts threads of its own must not
// be unloaded while a connection might still use it).

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/libraries.h"
#include "provisioning/connection_string.h"

// The calling convention of the ODBC, MySQL and Firebird client entry points; SQLite's are cdecl
// everywhere.
#if defined(_WIN32)
#define TOLVA_CLIENT_CALL __stdcall
#else
#define TOLVA_CLIENT_CALL
#endif

namespace tolva::provisioning {

enum class ClientKind { kOdbc, kMySql, kSqlite, kFirebird };

// The names each client's library is tried under, in order, by ClientKind: the system's own names
// on each platform.
extern const std::array<std::span<const std::string_view>, 4> kClientLibraryNames;
// Whether the MySQL client library is the Windows one, which reaches a local server through a
// named pipe, rather than one that reaches it through a Unix socket.
extern const bool kMySqlClientUsesPipes;

class ClientLibraries {
public:
    explicit ClientLibraries(platform::Libraries& libraries) : libraries_(libraries) {}
    ClientLibraries(const ClientLibraries&) = delete;
    ClientLibraries& operator=(const ClientLibraries&) = delete;

    // The client's library; null when none of its names loads.
    const platform::Library* Get(ClientKind client);
    void* Lookup(const platform::Library* library, std::string_view entryPoint) const {
        return library->Lookup(entryPoint);
    }
    // A path as file calls inside a loaded library take it.
    std::string PathForLibrary(std::string_view path) const {
        return libraries_.PathForLibrary(path);
    }

private:
    platform::Libraries& libraries_;
    std::array<std::unique_ptr<platform::Library>, 4> loaded_;
};

// Looks an entry point up as a function pointer of its type; false when one is missing.
template <typename Function>
bool Resolve(const ClientLibraries& libraries, const platform::Library* library,
             std::string_view entryPoint, Function& function) {
    function = reinterpret_cast<Function>(libraries.Lookup(library, entryPoint));
    return function != nullptr;
}

}  // namespace tolva::provisioning

#include <algorithm>

#include "provisioning/database_client.h"
#include "util/text.h"

namespace tolva::provisioning {
namespace {

using Handle = void*;  // MYSQL*

struct MySqlApi {
    Handle(TOLVA_CLIENT_CALL* init)(Handle) = nullptr;
    Handle(TOLVA_CLIENT_CALL* realConnect)(Handle, const char*, const char*, const char*,
                                           const char*, unsigned int, const char*,
                                           unsigned long) = nullptr;
    int(TOLVA_CLIENT_CALL* selectDb)(Handle, const char*) = nullptr;
    const char*(TOLVA_CLIENT_CALL* error)(Handle) = nullptr;
    void(TOLVA_CLIENT_CALL* close)(Handle) = nullptr;

    bool Load(ClientLibraries& libraries) {
        const platform::Library* library = libraries.Get(ClientKind::kMySql);
        return library != nullptr && Resolve(libraries, library, "mysql_init", init) &&
               Resolve(libraries, library, "mysql_real_connect", realConnect) &&
               Resolve(libraries, library, "mysql_select_db", selectDb) &&
               Resolve(libraries, library, "mysql_error", error) &&
               Resolve(libraries, library, "mysql_close", close);
    }
};

const char* OrNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

class MySqlClient : public DatabaseClient {
public:
    explicit MySqlClient(ClientLibraries& libraries) : libraries_(libraries) {}
    ~MySqlClient() override { Disconnect(); }
    MySqlClient(const MySqlClient&) = delete;
    MySqlClient& operator=(const MySqlClient&) = delete;

    bool Connect(const ConnectionPart& part, std::string& error) override {
        Disconnect();
        if (!api_.Load(libraries_)) {
            error = "MySQL client library not found";
            return false;
        }
        handle_ = api_.init(nullptr);
        if (handle_ == nullptr) {
            error = "Server connect failed: out of memory";
            return false;
        }
        const MySqlEndpoint endpoint = MySqlEndpointOf(part.server, kMySqlClientUsesPipes);
        if (api_.realConnect(handle_, OrNull(endpoint.host), part.user.c_str(),
                             part.password.c_str(), nullptr, endpoint.port, OrNull(endpoint.socket),
                             0) == nullptr) {
            error = "Server connect failed: " + std::string(api_.error(handle_));
            return false;
        }
        if (api_.selectDb(handle_, part.dsn.c_str()) != 0) {
            error = "failed to select database: " + std::string(api_.error(handle_));
            return false;
        }
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
    MySqlApi api_;
    Handle handle_ = nullptr;
};

}  // namespace

MySqlEndpoint MySqlEndpointOf(std::string_view server, bool usesPipes) {
    MySqlEndpoint endpoint;
    if (server.find('\\') == std::string_view::npos) {
        const size_t colon = server.rfind(':');
        endpoint.host = server.substr(0, colon);
        if (colon != std::string_view::npos) {
            endpoint.port =
                static_cast<unsigned int>(util::StrToIntDef(server.substr(colon + 1), 0));
        }
        return endpoint;
    }
    if (!usesPipes) {
        endpoint.socket = std::string(server);
        std::replace(endpoint.socket.begin(), endpoint.socket.end(), '\\', '/');
        return endpoint;
    }
    // Host "." makes the Windows client open the local pipe "\\.\pipe\" + socket.
    endpoint.host = ".";
    endpoint.socket = server.substr(server.rfind('\\') + 1);
    return endpoint;
}

std::unique_ptr<DatabaseClient> MakeMySqlClient(ClientLibraries& libraries) {
    return std::make_unique<MySqlClient>(libraries);
}

}  // namespace tolva::provisioning

#include <cstdint>
#include <vector>

#include "provisioning/database_client.h"

namespace tolva::provisioning {
namespace {

using Handle = void*;
using Return = int16_t;

constexpr int16_t kHandleEnvironment = 1;  // SQL_HANDLE_ENV
constexpr int16_t kHandleConnection = 2;   // SQL_HANDLE_DBC
constexpr int32_t kAttrOdbcVersion = 200;  // SQL_ATTR_ODBC_VERSION
constexpr intptr_t kOdbcVersion3 = 3;      // SQL_OV_ODBC3
constexpr int16_t kNullTerminated = -3;    // SQL_NTS
constexpr uint16_t kNoPrompt = 0;          // SQL_DRIVER_NOPROMPT

bool Succeeded(Return result) {
    return result == 0 || result == 1;  // SQL_SUCCESS, SQL_SUCCESS_WITH_INFO
}

struct OdbcApi {
    Return(TOLVA_CLIENT_CALL* allocHandle)(int16_t, Handle, Handle*) = nullptr;
    Return(TOLVA_CLIENT_CALL* setEnvAttr)(Handle, int32_t, void*, int32_t) = nullptr;
    Return(TOLVA_CLIENT_CALL* connect)(Handle, const char*, int16_t, const char*, int16_t,
                                       const char*, int16_t) = nullptr;
    Return(TOLVA_CLIENT_CALL* driverConnect)(Handle, void*, const char*, int16_t, char*, int16_t,
                                             int16_t*, uint16_t) = nullptr;
    Return(TOLVA_CLIENT_CALL* getDiagRec)(int16_t, Handle, int16_t, char*, int32_t*, char*, int16_t,
                                          int16_t*) = nullptr;
    Return(TOLVA_CLIENT_CALL* disconnect)(Handle) = nullptr;
    Return(TOLVA_CLIENT_CALL* freeHandle)(int16_t, Handle) = nullptr;

    bool Load(ClientLibraries& libraries) {
        const platform::Library* library = libraries.Get(ClientKind::kOdbc);
        return library != nullptr && Resolve(libraries, library, "SQLAllocHandle", allocHandle) &&
               Resolve(libraries, library, "SQLSetEnvAttr", setEnvAttr) &&
               Resolve(libraries, library, "SQLConnect", connect) &&
               Resolve(libraries, library, "SQLDriverConnect", driverConnect) &&
               Resolve(libraries, library, "SQLGetDiagRec", getDiagRec) &&
               Resolve(libraries, library, "SQLDisconnect", disconnect) &&
               Resolve(libraries, library, "SQLFreeHandle", freeHandle);
    }
};

// A value of a connection text as it is read back: in braces when it holds a character the
// syntax reserves, with each "}" inside doubled.
std::string AttributeValue(std::string_view value) {
    if (value.find_first_of("[]{}(),;?*=!@") == std::string_view::npos) {
        return std::string(value);
    }
    std::string braced = "{";
    for (char c : value) {
        braced += c;
        if (c == '}') {
            braced += '}';
        }
    }
    return braced + "}";
}

// The text for SQLDriverConnect: DSN, UID and PWD, then each attribute; empty parts left out.
std::string DriverConnectText(std::string_view dataSource, std::string_view attributes,
                              const ConnectionPart& part) {
    std::string text;
    auto add = [&text](std::string_view key, std::string_view value) {
        if (!value.empty()) {
            text += std::string(key) + std::string(value) + ";";
        }
    };
    add("DSN=", dataSource);
    add("UID=", AttributeValue(part.user));
    add("PWD=", AttributeValue(part.password));
    while (true) {
        size_t amp = attributes.find('&');
        add("", attributes.substr(0, amp));
        if (amp == std::string_view::npos) {
            break;
        }
        attributes.remove_prefix(amp + 1);
    }
    return text;
}

class OdbcClient : public DatabaseClient {
public:
    explicit OdbcClient(ClientLibraries& libraries) : libraries_(libraries) {}
    ~OdbcClient() override { Disconnect(); }
    OdbcClient(const OdbcClient&) = delete;
    OdbcClient& operator=(const OdbcClient&) = delete;

    bool Connect(const ConnectionPart& part, std::string& error) override {
        Disconnect();
        if (!api_.Load(libraries_)) {
            error = "ODBC driver manager not found";
            return false;
        }
        if (!Succeeded(api_.allocHandle(kHandleEnvironment, nullptr, &environment_))) {
            environment_ = nullptr;
            error = "ODBC environment could not be allocated";
            return false;
        }
        api_.setEnvAttr(environment_, kAttrOdbcVersion, reinterpret_cast<void*>(kOdbcVersion3), 0);
        if (!Succeeded(api_.allocHandle(kHandleConnection, environment_, &connection_))) {
            connection_ = nullptr;
            error = Diagnostics(kHandleEnvironment, environment_);
            return false;
        }

        const std::string_view dsn = part.dsn;
        const size_t question = dsn.find('?');
        Return result;
        if (question == std::string_view::npos) {
            result = api_.connect(connection_, part.dsn.c_str(), kNullTerminated, part.user.c_str(),
                                  kNullTerminated, part.password.c_str(), kNullTerminated);
        } else {
            const std::string text =
                DriverConnectText(dsn.substr(0, question), dsn.substr(question + 1), part);
            std::vector<char> completed(1024);
            int16_t completedLength = 0;
            result = api_.driverConnect(connection_, nullptr, text.c_str(), kNullTerminated,
                                        completed.data(), static_cast<int16_t>(completed.size()),
                                        &completedLength, kNoPrompt);
        }
        if (!Succeeded(result)) {
            error = Diagnostics(kHandleConnection, connection_);
            return false;
        }
        connected_ = true;
        return true;
    }

    void Disconnect() override {
        if (connected_) {
            api_.disconnect(connection_);
            connected_ = false;
        }
        if (connection_ != nullptr) {
            api_.freeHandle(kHandleConnection, connection_);
            connection_ = nullptr;
        }
        if (environment_ != nullptr) {
            api_.freeHandle(kHandleEnvironment, environment_);
            environment_ = nullptr;
        }
    }

private:
    // Every diagnostic record of the handle, one per line.
    std::string Diagnostics(int16_t type, Handle handle) const {
        std::string text;
        char state[6];
        char message[1024];
        int32_t native = 0;
        int16_t length = 0;
        for (int16_t record = 1;
             Succeeded(api_.getDiagRec(type, handle, record, state, &native, message,
                                       static_cast<int16_t>(sizeof message), &length));
             ++record) {
            text += (text.empty() ? "" : "\r\n") + std::string(message);
        }
        return text.empty() ? "ODBC connection failed" : text;
    }

    ClientLibraries& libraries_;
    OdbcApi api_;
    Handle environment_ = nullptr;
    Handle connection_ = nullptr;
    bool connected_ = false;
};

}  // namespace

std::unique_ptr<DatabaseClient> MakeOdbcClient(ClientLibraries& libraries) {
    return std::make_unique<OdbcClient>(libraries);
}

}  // namespace tolva::provisioning

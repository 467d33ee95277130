#include <cstdint>
#include <type_traits>
#include <vector>

#include "provisioning/database_client.h"

namespace tolva::provisioning {
namespace {

using Status = intptr_t;  // ISC_STATUS
// isc_db_handle: a 32-bit number on 64-bit systems, a pointer on 32-bit ones.
using Handle = std::conditional_t<sizeof(void*) == 8, uint32_t, void*>;

constexpr size_t kStatusLength = 20;
constexpr char kDpbVersion1 = 1;
constexpr char kDpbUserName = 28;
constexpr char kDpbPassword = 29;

struct FirebirdApi {
    Status(TOLVA_CLIENT_CALL* attach)(Status*, short, const char*, Handle*, short,
                                      const char*) = nullptr;
    Status(TOLVA_CLIENT_CALL* detach)(Status*, Handle*) = nullptr;
    Status(TOLVA_CLIENT_CALL* interpret)(char*, unsigned int, const Status**) = nullptr;

    bool Load(ClientLibraries& libraries) {
        const platform::Library* library = libraries.Get(ClientKind::kFirebird);
        if (library == nullptr || !Resolve(libraries, library, "isc_attach_database", attach) ||
            !Resolve(libraries, library, "isc_detach_database", detach)) {
            return false;
        }
        // Older client libraries lack it; their errors are then given by number.
        Resolve(libraries, library, "fb_interpret", interpret);
        return true;
    }
};

// A database parameter block with the user name and the password; each value holds at most 255
// bytes.
std::string ParameterBlock(const ConnectionPart& part) {
    std::string block(1, kDpbVersion1);
    auto add = [&block](char tag, std::string_view value) {
        if (value.empty()) {
            return;
        }
        value = value.substr(0, 255);
        block += tag;
        block += static_cast<char>(value.size());
        block += value;
    };
    add(kDpbUserName, part.user);
    add(kDpbPassword, part.password);
    return block;
}

class FirebirdClient : public DatabaseClient {
public:
    explicit FirebirdClient(ClientLibraries& libraries) : libraries_(libraries) {}
    ~FirebirdClient() override { Disconnect(); }
    FirebirdClient(const FirebirdClient&) = delete;
    FirebirdClient& operator=(const FirebirdClient&) = delete;

    bool Connect(const ConnectionPart& part, std::string& error) override {
        Disconnect();
        if (!api_.Load(libraries_)) {
            error = "Firebird client library not found";
            return false;
        }
        if (part.dsn.size() > 0x7FFF) {
            error = "Database name too long";
            return false;
        }
        const std::string block = ParameterBlock(part);
        Status status[kStatusLength] = {};
        api_.attach(status, static_cast<short>(part.dsn.size()), part.dsn.c_str(), &handle_,
                    static_cast<short>(block.size()), block.data());
        if (status[0] == 1 && status[1] != 0) {
            handle_ = Handle{};
            error = Interpret(status);
            return false;
        }
        return true;
    }

    void Disconnect() override {
        if (handle_ != Handle{}) {
            Status status[kStatusLength] = {};
            api_.detach(status, &handle_);
            handle_ = Handle{};
        }
    }

private:
    std::string Interpret(const Status* status) const {
        if (api_.interpret == nullptr) {
            return "Firebird error " + std::to_string(status[1]);
        }
        std::string text;
        std::vector<char> line(1024);
        const Status* cursor = status;
        while (api_.interpret(line.data(), static_cast<unsigned int>(line.size()), &cursor) > 0) {
            text += (text.empty() ? "" : "\r\n") + std::string(line.data());
        }
        return text.empty() ? "Firebird error " + std::to_string(status[1]) : text;
    }

    ClientLibraries& libraries_;
    FirebirdApi api_;
    Handle handle_{};
};

}  // namespace

std::unique_ptr<DatabaseClient> MakeFirebirdClient(ClientLibraries& libraries) {
    return std::make_unique<FirebirdClient>(libraries);
}

}  // namespace tolva::provisioning

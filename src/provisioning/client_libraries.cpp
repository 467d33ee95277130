#include "provisioning/client_libraries.h"

namespace tolva::provisioning {

const platform::Library* ClientLibraries::Get(ClientKind client) {
    std::unique_ptr<platform::Library>& library = loaded_[static_cast<size_t>(client)];
    for (std::string_view name : kClientLibraryNames[static_cast<size_t>(client)]) {
        if (library != nullptr || libraries_.Load(name, library).ok()) {
            break;
        }
    }
    return library.get();
}

}  // namespace tolva::provisioning

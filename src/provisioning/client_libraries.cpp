#include "provisioning/client_libraries.h"

namespace tolva::provisioning {

ClientLibraries::~ClientLibraries() {
    for (platform::LibraryHandle library : loaded_) {
        if (library != nullptr) {
            libraries_.Free(library);
        }
    }
}

platform::LibraryHandle ClientLibraries::Get(ClientKind client) {
    platform::LibraryHandle& library = loaded_[static_cast<size_t>(client)];
    for (std::string_view name : kClientLibraryNames[static_cast<size_t>(client)]) {
        if (library != nullptr) {
            break;
        }
        if (!libraries_.Load(name, library).ok()) {
            library = nullptr;
        }
    }
    return library;
}

}  // namespace tolva::provisioning

#include "winsys/com_registration.h"

#include <cstdint>

namespace tolva::winsys {
namespace {

#if defined(_WIN32)
#define TOLVA_COM_CALL __stdcall
#else
#define TOLVA_COM_CALL
#endif

// STDAPI DllRegisterServer(void) and DllUnregisterServer(void).
extern "C" {
using ServerEntryFn = int32_t(TOLVA_COM_CALL*)();
}

bool CallServerEntry(platform::Libraries& libraries, std::string_view path,
                     std::string_view entryPoint) {
    platform::LibraryHandle library = nullptr;
    if (!libraries.Load(path, library) || library == nullptr) {
        return false;
    }
    auto entry = reinterpret_cast<ServerEntryFn>(libraries.Lookup(library, entryPoint));
    bool succeeded = entry != nullptr && entry() == 0;
    libraries.Free(library);
    return succeeded;
}

}  // namespace

bool RegisterComServer(platform::Libraries& libraries, std::string_view path) {
    return CallServerEntry(libraries, path, "DllRegisterServer");
}

bool UnregisterComServer(platform::Libraries& libraries, std::string_view path) {
    return CallServerEntry(libraries, path, "DllUnregisterServer");
}

}  // namespace tolva::winsys

#pragma once
// Entry points looked up at run time, for calls that older systems lack.

#include <windows.h>

#include <cstdint>

namespace tolva::platform {

// nullptr when the module is null or lacks the entry point.
template <typename Fn>
Fn ProcedureAddress(HMODULE module, const char* name) {
    if (module == nullptr) {
        return nullptr;
    }
    FARPROC address = ::GetProcAddress(module, name);
    return reinterpret_cast<Fn>(reinterpret_cast<uintptr_t>(address));
}

}  // namespace tolva::platform

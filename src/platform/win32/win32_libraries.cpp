#include "platform/win32/win32_libraries.h"

#include <windows.h>

#include <cstdint>

#include "platform/win32/ansi_text.h"

namespace tolva::platform {

Status Win32Libraries::Load(std::string_view pathOrName, LibraryHandle& handle) {
    std::wstring wide = AnsiToWideText(pathOrName);
    bool fullPath = pathOrName.find('\\') != std::string_view::npos;
    HMODULE module = fullPath
                         ? ::LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                         : ::LoadLibraryW(wide.c_str());
    if (module == nullptr) {
        return Status::Failure(::GetLastError(), "Load " + std::string(pathOrName));
    }
    handle = module;
    return Status::Ok();
}

void* Win32Libraries::Lookup(LibraryHandle handle, std::string_view entryPoint) const {
    if (handle == nullptr) {
        return nullptr;
    }
    FARPROC address =
        ::GetProcAddress(static_cast<HMODULE>(handle), std::string(entryPoint).c_str());
    return reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(address));
}

void Win32Libraries::Free(LibraryHandle handle) {
    if (handle != nullptr) {
        ::FreeLibrary(static_cast<HMODULE>(handle));
    }
}

std::string Win32Libraries::CurrentFolder() const {
    DWORD length = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(length, L'\0');
    length = ::GetCurrentDirectoryW(length, folder.data());
    folder.resize(length);
    if (!folder.empty() && folder.back() != L'\\') {
        folder += L'\\';
    }
    return WideToAnsiText(folder);
}

Status Win32Libraries::SetCurrentFolder(std::string_view folder) {
    if (!::SetCurrentDirectoryW(AnsiToWideText(folder).c_str())) {
        return Status::Failure(::GetLastError(), "SetCurrentFolder " + std::string(folder));
    }
    return Status::Ok();
}

}  // namespace tolva::platform

#include "platform/win32/win32_libraries.h"

#include <windows.h>

#include <cstdint>

#include "platform/win32/ansi_text.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/unique_module.h"

namespace tolva::platform {
namespace {

class Module final : public Library {
public:
    explicit Module(UniqueModule module) : module_(std::move(module)) {}
    void* Lookup(std::string_view entryPoint) const override {
        FARPROC address = ::GetProcAddress(module_.Get(), std::string(entryPoint).c_str());
        return reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(address));
    }

private:
    UniqueModule module_;
};

// A folder in a form two spellings of it compare equal in: lower case, one trailing backslash.
std::wstring FolderKey(std::wstring folder) {
    ::CharLowerBuffW(folder.data(), static_cast<DWORD>(folder.size()));
    if (folder.empty() || folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder;
}

// The folder of the running program, lower case, with a trailing backslash.
std::wstring ProgramFolderKey() {
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    path.erase(path.find_last_of(L'\\') + 1);
    return FolderKey(path);
}

// A library named without a path: from the system folder, else from a folder of PATH (where
// database clients install themselves). Never from the program's folder or the current folder,
// where a downloads folder may hold a planted file of that name.
HMODULE LoadByName(const std::wstring& name) {
    if (HMODULE module = win32::LoadFromSystemFolder(name.c_str())) {
        return module;
    }
    // Both calls answer the size they need, larger than the buffer, when it is too small.
    std::wstring path(32767, L'\0');
    const DWORD pathLength =
        ::GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size()));
    path.resize(pathLength < path.size() ? pathLength : 0);
    std::wstring current(32767, L'\0');
    const DWORD currentLength =
        ::GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data());
    current.resize(currentLength < current.size() ? currentLength : 0);
    const std::wstring program = ProgramFolderKey();
    const std::wstring currentKey = FolderKey(current);
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L';', start);
        if (end == std::wstring::npos) {
            end = path.size();
        }
        const std::wstring folder = path.substr(start, end - start);
        start = end + 1;
        const bool absolute = folder.size() >= 3 && folder[1] == L':' && folder[2] == L'\\';
        const std::wstring key = FolderKey(folder);
        if (!absolute || key == program || key == currentKey) {
            continue;
        }
        const std::wstring file = key + name;
        if (::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
            continue;
        }
        if (HMODULE module = ::LoadLibraryExW(file.c_str(), nullptr, win32::FullPathLoadFlags())) {
            return module;
        }
    }
    ::SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

}  // namespace

Status Win32Libraries::Load(std::string_view pathOrName, std::unique_ptr<Library>& library) {
    std::wstring wide = AnsiToWideText(pathOrName);
    bool fullPath = pathOrName.find('\\') != std::string_view::npos;
    UniqueModule module(fullPath
                            ? ::LoadLibraryExW(wide.c_str(), nullptr, win32::FullPathLoadFlags())
                            : LoadByName(wide));
    if (!module.Valid()) {
        return Status::Failure(::GetLastError(), "Load " + std::string(pathOrName));
    }
    library = std::make_unique<Module>(std::move(module));
    return Status::Ok();
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

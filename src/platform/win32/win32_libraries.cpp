#include "platform/win32/win32_libraries.h"

#include <windows.h>

#include <cstdint>

#include "platform/win32/ansi_text.h"
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

}  // namespace

Status Win32Libraries::Load(std::string_view pathOrName, std::unique_ptr<Library>& library) {
    std::wstring wide = AnsiToWideText(pathOrName);
    bool fullPath = pathOrName.find('\\') != std::string_view::npos;
    UniqueModule module(fullPath
                            ? ::LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                            : ::LoadLibraryW(wide.c_str()));
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

// The anti-virus engine's setup library as the suite's tests need it. Every call is logged, with
// its arguments and the current folder, to "setiface.log" beside the library (or to the file named
// by File= in the section [Log] of the settings).
//
// setifaceInstallProgram copies the package the setup program lies in into the target folder: the
// library itself and its settings into "setup\", every other file into the folder itself, and
// remembers those in "setup\setiface.lst". setifaceUninstallProgram, called on the library in an
// engine's "setup\" folder, removes the files that list names. The other calls only report success.
//
// "setiface.ini" beside the library makes a call fail, for tests: a call whose section gives Result
// or Status does nothing and returns Result (0 when not given) with Status (0 when not given).
//   [setifaceUpdateFiles]
//   Result=3

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/unique_find_handle.h"
#include "platform/win32/unique_handle.h"
#include "winsys/antivirus_entry_points.h"

namespace setiface = tolva::winsys::setiface;

namespace {

constexpr wchar_t kSettingsName[] = L"setiface.ini";
constexpr wchar_t kLogName[] = L"setiface.log";
constexpr wchar_t kInstalledList[] = L"setiface.lst";
constexpr int32_t kBadArguments = 1;
constexpr int32_t kCopyFailed = 2;

HMODULE thisLibrary = nullptr;

std::wstring Wide(const char* text) {
    if (text == nullptr || *text == '\0') {
        return {};
    }
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

std::string Ansi(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), length, nullptr, nullptr);
    ansi.resize(static_cast<size_t>(length) - 1);
    return ansi;
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring LibraryPath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(thisLibrary, path, MAX_PATH);
    return std::wstring(path, length);
}

std::wstring LibraryFolder() {
    return FolderOf(LibraryPath());
}

std::wstring SettingsPath() {
    return LibraryFolder() + kSettingsName;
}

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, folder);
    return std::wstring(folder, length);
}

void Log(const std::string& text) {
    wchar_t configured[MAX_PATH] = {};
    ::GetPrivateProfileStringW(L"Log", L"File", L"", configured, MAX_PATH, SettingsPath().c_str());
    const std::wstring path = *configured != L'\0' ? configured : LibraryFolder() + kLogName;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    const std::string line = stamp + text + " cwd=" + Ansi(CurrentFolder()) + "\r\n";
    const tolva::platform::UniqueHandle file(::CreateFileW(
        path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return;
    }
    DWORD written = 0;
    ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string Quoted(const char* text) {
    return text == nullptr ? "(null)" : "\"" + std::string(text) + "\"";
}

// True when the settings name the call: it then does nothing and reports their Result (0 when not
// given) and Status (0 when not given).
bool FailureSet(const char* call, int32_t& result, uint32_t* status) {
    constexpr UINT kMissing = 0xFFFFFFFF;
    const std::wstring settings = SettingsPath();
    const std::wstring section = Wide(call);
    const UINT configuredResult =
        ::GetPrivateProfileIntW(section.c_str(), L"Result", kMissing, settings.c_str());
    const UINT configuredStatus =
        ::GetPrivateProfileIntW(section.c_str(), L"Status", kMissing, settings.c_str());
    if (configuredResult == kMissing && configuredStatus == kMissing) {
        return false;
    }
    result = configuredResult == kMissing ? 0 : static_cast<int32_t>(configuredResult);
    if (status != nullptr) {
        *status = configuredStatus == kMissing ? 0 : configuredStatus;
    }
    return true;
}

int32_t Done(uint32_t* status) {
    if (status != nullptr) {
        *status = setiface::kStatusDone;
    }
    return 0;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    const tolva::platform::UniqueFindHandle search(
        ::FindFirstFileW((folder + L"*").c_str(), &data));
    if (!search.Valid()) {
        return names;
    }
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.emplace_back(data.cFileName);
        }
    } while (::FindNextFileW(search.Get(), &data));
    return names;
}

// Creates the folder (with a trailing backslash) and its missing parents.
bool CreateFolders(const std::wstring& folder) {
    for (size_t separator = folder.find(L'\\', 3); separator != std::wstring::npos;
         separator = folder.find(L'\\', separator + 1)) {
        const std::wstring part = folder.substr(0, separator);
        if (!::CreateDirectoryW(part.c_str(), nullptr) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS) {
            return false;
        }
    }
    return true;
}

bool IsSetupFile(const std::wstring& name) {
    const std::wstring ownName = LibraryPath().substr(LibraryFolder().size());
    return ::lstrcmpiW(name.c_str(), ownName.c_str()) == 0 ||
           ::lstrcmpiW(name.c_str(), kSettingsName) == 0;
}

int32_t Install(const std::wstring& setupProgram, const std::wstring& target) {
    if (setupProgram.empty() || target.empty() ||
        ::GetFileAttributesW(setupProgram.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return kBadArguments;
    }
    const std::wstring package = FolderOf(setupProgram);
    const std::wstring engine = target + L"\\";
    const std::wstring setup = engine + L"setup\\";
    if (!CreateFolders(setup)) {
        return kCopyFailed;
    }
    std::string installed;
    for (const std::wstring& name : FilesIn(package)) {
        if (::lstrcmpiW(name.c_str(), kLogName) == 0) {
            continue;
        }
        const bool setupFile = IsSetupFile(name);
        const std::wstring to = (setupFile ? setup : engine) + name;
        if (!::CopyFileW((package + name).c_str(), to.c_str(), FALSE)) {
            return kCopyFailed;
        }
        if (!setupFile) {
            installed += Ansi(name) + "\r\n";
        }
    }
    const tolva::platform::UniqueHandle list(::CreateFileW((setup + kInstalledList).c_str(),
                                                           GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!list.Valid()) {
        return kCopyFailed;
    }
    DWORD written = 0;
    const bool complete = ::WriteFile(list.Get(), installed.data(),
                                      static_cast<DWORD>(installed.size()), &written, nullptr) &&
                          written == installed.size();
    return complete ? 0 : kCopyFailed;
}

// Removes the engine files that the installation beside this library listed, and the list.
void Uninstall() {
    const std::wstring listPath = LibraryFolder() + kInstalledList;
    std::string names;
    {
        const tolva::platform::UniqueHandle list(
            ::CreateFileW(listPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!list.Valid()) {
            return;
        }
        char buffer[4096];
        DWORD got = 0;
        while (::ReadFile(list.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
            names.append(buffer, got);
        }
    }
    // The engine lies in the folder above "setup\"; only plain names are taken from the list.
    const std::wstring libraryFolder = LibraryFolder();
    const std::wstring engine = FolderOf(libraryFolder.substr(0, libraryFolder.size() - 1));
    for (size_t start = 0; start < names.size();) {
        size_t end = names.find("\r\n", start);
        end = end == std::string::npos ? names.size() : end;
        const std::wstring name = Wide(names.substr(start, end - start).c_str());
        start = end + 2;
        if (!name.empty() && name.find_first_of(L"\\/:") == std::wstring::npos && name != L"." &&
            name != L"..") {
            ::DeleteFileW((engine + name).c_str());
        }
    }
    ::DeleteFileW(listPath.c_str());
}

// Logs a call on the installed engine; true unless the settings make it fail.
bool EngineCall(const char* name, const char* partner, const char* options, int32_t mode,
                uint32_t* status, int32_t& result) {
    Log(std::string(name) + " partner=" + Quoted(partner) + " options=" + Quoted(options) +
        " mode=" + std::to_string(mode));
    if (FailureSet(name, result, status)) {
        return false;
    }
    result = partner == nullptr || status == nullptr ? kBadArguments : 0;
    return result == 0;
}

// The engine calls that only report success.
int32_t ReportedEngineCall(const char* name, const char* partner, const char* options, int32_t mode,
                           uint32_t* status) {
    int32_t result = 0;
    return EngineCall(name, partner, options, mode, status, result) ? Done(status) : result;
}

// Logs a call that answers with a text and copies the text into the caller's buffer.
int32_t TextCall(const char* name, const char* partner, const std::string& text, char* buffer,
                 uint32_t size, uint32_t* status) {
    Log(std::string(name) + " partner=" + Quoted(partner) + " size=" + std::to_string(size));
    int32_t result = 0;
    if (FailureSet(name, result, status)) {
        return result;
    }
    if (buffer == nullptr || size <= text.size()) {
        return kBadArguments;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return Done(status);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        thisLibrary = instance;
        Log("load");
    } else if (reason == DLL_PROCESS_DETACH) {
        Log("unload");
    }
    return TRUE;
}

#define SETIFACE_EXPORT extern "C" __declspec(dllexport) int32_t TOLVA_SETIFACE_CALL

SETIFACE_EXPORT setifaceInstallProgram(const char* partner, const char* setupProgram,
                                       const char* targetFolder, const char* options, int32_t mode,
                                       uint32_t* status) {
    Log(std::string(setiface::kInstallProgram) + " partner=" + Quoted(partner) +
        " setup=" + Quoted(setupProgram) + " target=" + Quoted(targetFolder) +
        " options=" + Quoted(options) + " mode=" + std::to_string(mode));
    int32_t result = 0;
    if (FailureSet(setiface::kInstallProgram, result, status)) {
        return result;
    }
    if (partner == nullptr || status == nullptr) {
        return kBadArguments;
    }
    result = Install(Wide(setupProgram), Wide(targetFolder));
    return result == 0 ? Done(status) : result;
}

SETIFACE_EXPORT setifaceUninstallProgram(const char* partner, const char* options, int32_t mode,
                                         uint32_t* status) {
    int32_t result = 0;
    if (!EngineCall(setiface::kUninstallProgram, partner, options, mode, status, result)) {
        return result;
    }
    Uninstall();
    return Done(status);
}

SETIFACE_EXPORT setifaceUpdateFiles(const char* partner, const char* options, int32_t mode,
                                    uint32_t* status) {
    return ReportedEngineCall(setiface::kUpdateFiles, partner, options, mode, status);
}

SETIFACE_EXPORT setifaceUpdatePackages(const char* partner, const char* options, int32_t mode,
                                       uint32_t* status) {
    return ReportedEngineCall(setiface::kUpdatePackages, partner, options, mode, status);
}

SETIFACE_EXPORT setifaceCheckUpdate(const char* partner, const char* options, int32_t mode,
                                    uint32_t* status) {
    return ReportedEngineCall(setiface::kCheckUpdate, partner, options, mode, status);
}

SETIFACE_EXPORT setifaceGimmePathToSetifaceVpu(const char* partner, char* buffer, uint32_t size,
                                               uint32_t* status) {
    return TextCall(setiface::kGimmePathToSetifaceVpu, partner,
                    Ansi(LibraryFolder()) + "setiface.vpu", buffer, size, status);
}

SETIFACE_EXPORT setifaceGetPartVersions(const char* partner, char* buffer, uint32_t size,
                                        uint32_t* status) {
    return TextCall(setiface::kGetPartVersions, partner, "setiface=1.0;engine=1.0", buffer, size,
                    status);
}

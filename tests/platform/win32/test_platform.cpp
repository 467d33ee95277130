#include "test_platform.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/win32/win32_platform.h"

namespace tolva::platform::testing {
namespace {

std::atomic<int> instances{0};

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());  // the names made here are plain ASCII
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            std::wstring path = folder + L"\\" + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(path);
            } else {
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(search, &data));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

struct BoxSearch {
    DWORD process;
    HWND found;
};

// A visible standard dialog ("#32770", the class of message boxes) of this process.
BOOL CALLBACK FindBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    wchar_t className[16] = {};
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    ::GetClassNameW(window, className, 16);
    if (process == search->process && ::IsWindowVisible(window) &&
        std::wstring(className) == L"#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

struct TestPlatform::State {
    Win32Platform win32;
    std::string scratch;
    std::string registryKey;
    std::string initialFolder;
    std::thread answerer;
};

TestPlatform::TestPlatform() : state_(std::make_unique<State>()) {
    std::string unique =
        std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(instances++);
    state_->scratch =
        state_->win32.Services().system->TempFolder() + "tolva-contract-" + unique + "\\";
    if (!::CreateDirectoryW(Wide(state_->scratch).c_str(), nullptr)) {
        std::abort();
    }
    state_->registryKey = "Software\\Tolva Contract Test\\" + unique;
    state_->initialFolder = state_->win32.Services().libraries->CurrentFolder();
}

TestPlatform::~TestPlatform() {
    if (state_->answerer.joinable()) {
        state_->answerer.join();
    }
    ::SetCurrentDirectoryW(Wide(state_->initialFolder).c_str());
    std::wstring scratch = Wide(state_->scratch);
    scratch.pop_back();
    RemoveTree(scratch);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(state_->registryKey).c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tolva Contract Test");
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(state_->registryKey).c_str(), 0,
                            KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
            ::RegDeleteTreeW(key, nullptr);
            ::RegCloseKey(key);
            ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Wide(state_->registryKey).c_str(), view, 0);
        }
        ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Tolva Contract Test", view, 0);
    }
}

Platform& TestPlatform::Services() {
    return state_->win32.Services();
}

const std::string& TestPlatform::Scratch() const {
    return state_->scratch;
}

const std::string& TestPlatform::RegistryKey() const {
    return state_->registryKey;
}

void TestPlatform::MakeReadOnly(const std::string& path) {
    if (!::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY)) {
        std::abort();
    }
}

void TestPlatform::AnswerNextMessageBox(DialogResult answer) {
    if (state_->answerer.joinable()) {
        state_->answerer.join();
    }
    // Waits for the box to appear, then presses the button as a click would.
    state_->answerer = std::thread([answer] {
        BoxSearch search{::GetCurrentProcessId(), nullptr};
        for (int attempt = 0; attempt < 1000 && search.found == nullptr; ++attempt) {
            ::Sleep(10);
            ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        }
        if (search.found != nullptr) {
            int id = static_cast<int>(answer);
            ::PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(search.found, id)));
        }
    });
}

bool TestPlatform::RegistryHasTwoViews() const {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

bool TestPlatform::FilesAreOnDisk() const {
    return true;
}

bool TestPlatform::FilesFollowWindowsRules() const {
    return true;
}

std::string TestPlatform::SystemLibrary() const {
    return "cabinet.dll";
}

std::string TestPlatform::SystemLibraryEntryPoint() const {
    return "FDICreate";
}

bool TestPlatform::SystemLibraryLoaded() const {
    return ::GetModuleHandleW(L"cabinet.dll") != nullptr;
}

std::string TestPlatform::AutomationLibrary() const {
    const std::string copy = state_->scratch + "corvanecom.dll";
    if (::GetFileAttributesW(Wide(copy).c_str()) == INVALID_FILE_ATTRIBUTES) {
        // The build tree is a host folder, which Wine shows on drive Z:.
        std::wstring built = L"Z:" + Wide(TOLVA_CORVANECOM);
        for (wchar_t& c : built) {
            if (c == L'/') {
                c = L'\\';
            }
        }
        if (!::CopyFileW(built.c_str(), Wide(copy).c_str(), FALSE)) {
            std::abort();
        }
    }
    return copy;
}

}  // namespace tolva::platform::testing

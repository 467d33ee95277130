#include "test_platform.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <atomic>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>
#include <vector>

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

// The stand-in that runs as a service and, started otherwise, as a program with a window.
std::string StandinProgram() {
    std::string path = "Z:" TOLVA_STANDIN_PROGRAM;
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

std::string CopyStandin(const std::string& folder, const std::string& name) {
    ::CreateDirectoryW(Wide(folder).c_str(), nullptr);
    std::string path = folder + name;
    if (!::CopyFileW(Wide(StandinProgram()).c_str(), Wide(path).c_str(), FALSE)) {
        std::abort();
    }
    return path;
}

constexpr UINT kTaskMessage = 1280;
// Destroys a window that keeps itself on WM_CLOSE, when the test is over.
constexpr UINT kDestroyMessage = WM_APP + 1;
// Makes the window's thread sleep for wParam milliseconds, as a program that stopped answering.
constexpr UINT kHangMessage = WM_APP + 2;

LRESULT CALLBACK TestWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kTaskMessage:
            return static_cast<LRESULT>(wParam) + lParam;
        case WM_CLOSE:
            if (::GetWindowLongPtrW(window, GWLP_USERDATA) == 0) {
                ::DestroyWindow(window);
            }
            return 0;
        case kDestroyMessage:
            ::DestroyWindow(window);
            return 0;
        case kHangMessage:
            ::Sleep(static_cast<DWORD>(wParam));
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// A window on a thread of its own, running its message loop until the window is destroyed.
void RunWindow(std::wstring className, std::wstring caption, bool ignoreClose,
               std::promise<HWND>* created) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = TestWindowProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className.c_str();
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowW(className.c_str(), caption.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                                  200, 100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window != nullptr) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, ignoreClose ? 1 : 0);
    }
    created->set_value(window);
    if (window == nullptr) {
        return;
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&message);
    }
}

}  // namespace

struct TestPlatform::State {
    Win32Platform win32;
    std::string scratch;
    std::string registryKey;
    std::string initialFolder;
    std::thread answerer;
    std::vector<std::pair<HWND, std::thread>> windows;
    std::wstring servedPipe;
    std::thread pipeServer;
    std::string pipeReceived;
    std::vector<HANDLE> heldPipes;
    std::vector<SOCKET> listeners;
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
    for (SOCKET listener : state_->listeners) {
        ::closesocket(listener);
    }
    if (state_->answerer.joinable()) {
        state_->answerer.join();
    }
    for (auto& [window, thread] : state_->windows) {
        if (::IsWindow(window)) {
            ::PostMessageW(window, kDestroyMessage, 0, 0);
        }
        thread.join();
    }
    if (state_->pipeServer.joinable()) {
        // Nobody came: be the client, so that the server's wait ends.
        HANDLE client = ::CreateFileW(state_->servedPipe.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
        if (client != INVALID_HANDLE_VALUE) {
            ::CloseHandle(client);
        }
        state_->pipeServer.join();
    }
    for (HANDLE pipe : state_->heldPipes) {
        ::CloseHandle(pipe);
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

bool TestPlatform::MakeFolderLink(const std::string& link, const std::string& target) {
    constexpr DWORD kDirectoryLink = 0x1;  // SYMBOLIC_LINK_FLAG_DIRECTORY
    constexpr DWORD kUnprivileged = 0x2;   // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    if (!::CreateSymbolicLinkW(Wide(link).c_str(), Wide(target).c_str(),
                               kDirectoryLink | kUnprivileged)) {
        return false;
    }
    // Some systems report success and make nothing.
    const DWORD attributes = ::GetFileAttributesW(Wide(link).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
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

// 64-bit Windows keeps the machine's Software key apart for 32-bit programs: a 64-bit program sees
// both views, and so does a 32-bit one running there under WOW64.
bool TestPlatform::RegistryHasTwoViews() const {
    if constexpr (sizeof(void*) == 8) {
        return true;
    }
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

std::string TestPlatform::UniqueName() const {
    std::string scratch = state_->scratch;
    scratch.pop_back();
    // "tolva-contract-<process>-<instance>": the digits, without the dash.
    std::string unique;
    for (char c : scratch.substr(scratch.rfind("tolva-contract-") + 15)) {
        unique += c == '-' ? 'x' : c;
    }
    return unique;
}

std::string TestPlatform::ServiceProgram() {
    return CopyStandin(state_->scratch + "service program\\", "service.exe");
}

std::string TestPlatform::LongRunningProgram() {
    return CopyStandin(state_->scratch, "runner" + UniqueName() + ".exe");
}

WindowHandle TestPlatform::OpenWindow(const std::string& className, const std::string& caption,
                                      bool ignoreClose) {
    std::promise<HWND> created;
    std::future<HWND> window = created.get_future();
    std::thread thread(RunWindow, Wide(className), Wide(caption), ignoreClose, &created);
    HWND handle = window.get();
    if (handle == nullptr) {
        thread.join();
        return 0;
    }
    state_->windows.emplace_back(handle, std::move(thread));
    return reinterpret_cast<WindowHandle>(handle);
}

void TestPlatform::HangWindow(WindowHandle window, uint32_t milliseconds) {
    // Sent messages are handled before posted ones and in the order sent: whatever is sent after
    // this waits behind the sleep.
    ::SendNotifyMessageW(reinterpret_cast<HWND>(window), kHangMessage, milliseconds, 0);
}

void TestPlatform::ServePipeOnce(const std::string& pipePath, const std::string& reply) {
    state_->servedPipe = Wide(pipePath);
    HANDLE pipe = ::CreateNamedPipeW(state_->servedPipe.c_str(), PIPE_ACCESS_DUPLEX,
                                     PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 4096, 4096,
                                     0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
        std::abort();
    }
    state_->pipeServer = std::thread([this, pipe, reply] {
        if (::ConnectNamedPipe(pipe, nullptr) || ::GetLastError() == ERROR_PIPE_CONNECTED) {
            char buffer[20];
            size_t got = 0;
            DWORD read = 0;
            while (got < sizeof buffer &&
                   ::ReadFile(pipe, buffer + got, static_cast<DWORD>(sizeof buffer - got), &read,
                              nullptr) &&
                   read > 0) {
                got += read;
            }
            state_->pipeReceived.assign(buffer, got);
            DWORD written = 0;
            ::WriteFile(pipe, reply.data(), static_cast<DWORD>(reply.size()), &written, nullptr);
            ::FlushFileBuffers(pipe);
            ::DisconnectNamedPipe(pipe);
        }
        ::CloseHandle(pipe);
    });
}

std::string TestPlatform::PipeReceived() {
    if (state_->pipeServer.joinable()) {
        state_->pipeServer.join();
    }
    return state_->pipeReceived;
}

void TestPlatform::HoldBusyPipe(const std::string& pipePath) {
    std::wstring path = Wide(pipePath);
    HANDLE server = ::CreateNamedPipeW(path.c_str(), PIPE_ACCESS_DUPLEX,
                                       PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 4096,
                                       4096, 0, nullptr);
    HANDLE client = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    if (server == INVALID_HANDLE_VALUE || client == INVALID_HANDLE_VALUE) {
        std::abort();
    }
    state_->heldPipes = {client, server};
}

TcpListener TestPlatform::ListenOnLoopback() {
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::abort();
    }
    const SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (listener == INVALID_SOCKET ||
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listener, 1) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        std::abort();
    }
    state_->listeners.push_back(listener);
    return {::ntohs(address.sin_port), ::GetCurrentProcessId()};
}

}  // namespace tolva::platform::testing

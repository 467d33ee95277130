#include "test_platform.h"

#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "fake/in_memory_peers.h"
#include "platform/host/host_platform.h"
#include "support/server_automation.h"

namespace tolva::platform::testing {

struct TestPlatform::State {
    explicit State(const std::string& hostRoot) : host(hostRoot), root(hostRoot) {}
    HostPlatform host;
    InMemoryPeers peers{*host.Services().files, host.Windows(), host.Pipes()};
    std::string root;
    std::string scratch = "C:\\scratch\\";
    std::string registryKey = "Software\\Tolva Contract Test";
    std::string initialFolder;
    std::vector<int> listeners;
};

namespace {

std::string MakeRoot() {
    std::string pattern = std::filesystem::temp_directory_path() / "tolva-platform-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    return pattern;
}

}  // namespace

TestPlatform::TestPlatform() : state_(std::make_unique<State>(MakeRoot())) {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) != nullptr) {
        state_->initialFolder = cwd;
    }
    std::filesystem::create_directories(state_->root + "/c/scratch");
    state_->host.Automation().DefineLibrary(AutomationLibrary(),
                                            tolva::testing::ServerAutomationClasses());
    // A Windows program always has a current folder on some drive.
    if (::chdir((state_->root + "/c").c_str()) != 0) {
        std::abort();
    }
}

TestPlatform::~TestPlatform() {
    for (int listener : state_->listeners) {
        ::close(listener);
    }
    if (!state_->initialFolder.empty() && ::chdir(state_->initialFolder.c_str()) != 0) {
        std::abort();
    }
    std::error_code ignored;
    std::filesystem::remove_all(state_->root, ignored);
}

Platform& TestPlatform::Services() {
    return state_->host.Services();
}

const std::string& TestPlatform::Scratch() const {
    return state_->scratch;
}

const std::string& TestPlatform::RegistryKey() const {
    return state_->registryKey;
}

void TestPlatform::MakeReadOnly(const std::string& path) {
    std::string hostPath;
    struct stat info;
    if (!state_->host.Paths().ToHost(path, hostPath) || ::stat(hostPath.c_str(), &info) != 0 ||
        ::chmod(hostPath.c_str(), info.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) != 0) {
        std::abort();
    }
}

bool TestPlatform::MakeFolderLink(const std::string& link, const std::string& target) {
    std::string hostLink, hostTarget;
    return state_->host.Paths().ToHost(link, hostLink) &&
           state_->host.Paths().ToHost(target, hostTarget) &&
           ::symlink(hostTarget.c_str(), hostLink.c_str()) == 0;
}

void TestPlatform::AnswerNextMessageBox(DialogResult answer) {
    state_->host.Dialogs().QueueAnswer(answer);
}

bool TestPlatform::RegistryHasTwoViews() const {
    return true;
}

bool TestPlatform::FilesAreOnDisk() const {
    return true;
}

bool TestPlatform::FilesFollowWindowsRules() const {
    return false;
}

std::string TestPlatform::SystemLibrary() const {
    return "libz.so.1";
}

std::string TestPlatform::SystemLibraryEntryPoint() const {
    return "zlibVersion";
}

bool TestPlatform::SystemLibraryLoaded() const {
    void* loaded = ::dlopen(SystemLibrary().c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (loaded != nullptr) {
        ::dlclose(loaded);
    }
    return loaded != nullptr;
}

std::string TestPlatform::AutomationLibrary() const {
    return state_->scratch + "corvanecom.dll";
}

std::string TestPlatform::UniqueName() const {
    // The machine's services, windows and pipes are the test's own, in memory.
    return "1";
}

std::string TestPlatform::ServiceProgram() {
    return "C:\\Program Files\\Tolva Contract\\service.exe";
}

std::string TestPlatform::LongRunningProgram() {
    return state_->peers.LongRunningProgram(state_->scratch);
}

WindowHandle TestPlatform::OpenWindow(const std::string& className, const std::string& caption,
                                      bool ignoreClose) {
    return state_->peers.OpenWindow(className, caption, ignoreClose);
}

void TestPlatform::HangWindow(WindowHandle window, uint32_t) {
    state_->peers.HangWindow(window);
}

void TestPlatform::ServePipeOnce(const std::string& pipePath, const std::string& reply) {
    state_->peers.ServePipeOnce(pipePath, reply);
}

std::string TestPlatform::PipeReceived() {
    return state_->peers.PipeReceived();
}

void TestPlatform::HoldBusyPipe(const std::string& pipePath) {
    state_->peers.HoldBusyPipe(pipePath);
}

TcpListener TestPlatform::ListenOnLoopback() {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listener, 1) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        std::abort();
    }
    state_->listeners.push_back(listener);
    return {ntohs(address.sin_port), static_cast<uint32_t>(::getpid())};
}

}  // namespace tolva::platform::testing

#include "test_platform.h"

#include <cstdint>
#include <cstdlib>

#include "fake/in_memory_peers.h"
#include "platform/fake/fake_platform.h"
#include "support/server_automation.h"

namespace tolva::platform::testing {
namespace {

constexpr char kLibrary[] = "cabinet.dll";
constexpr char kEntryPoint[] = "FDICreate";

int EntryPoint() {
    return 0;
}

}  // namespace

struct TestPlatform::State {
    FakePlatform fake;
    InMemoryPeers peers{fake.Files(), fake.Windows(), fake.Pipes()};
    std::string scratch = "C:\\scratch\\";
    std::string registryKey = "Software\\Tolva Contract Test";
};

TestPlatform::TestPlatform() : state_(std::make_unique<State>()) {
    if (!state_->fake.Files().CreateFolders(state_->scratch).ok()) {
        std::abort();
    }
    state_->fake.Automation().DefineLibrary(AutomationLibrary(),
                                            tolva::testing::ServerAutomationClasses());
    state_->fake.Libraries().Add(
        kLibrary,
        {{kEntryPoint, reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(&EntryPoint))}});
}

TestPlatform::~TestPlatform() = default;

Platform& TestPlatform::Services() {
    return state_->fake.Services();
}

const std::string& TestPlatform::Scratch() const {
    return state_->scratch;
}

const std::string& TestPlatform::RegistryKey() const {
    return state_->registryKey;
}

bool TestPlatform::RegistryHasTwoViews() const {
    return true;
}

bool TestPlatform::FilesAreOnDisk() const {
    return false;
}

bool TestPlatform::FilesFollowWindowsRules() const {
    return true;
}

void TestPlatform::MakeReadOnly(const std::string& path) {
    if (!state_->fake.Files().SetAttributes(path, file_attribute::kReadOnly).ok()) {
        std::abort();
    }
}

bool TestPlatform::MakeFolderLink(const std::string& link, const std::string& target) {
    return state_->fake.Files().MakeLink(link, target).ok();
}

void TestPlatform::AnswerNextMessageBox(DialogResult answer) {
    state_->fake.Dialogs().QueueAnswer(answer);
}

std::string TestPlatform::SystemLibrary() const {
    return kLibrary;
}

std::string TestPlatform::SystemLibraryEntryPoint() const {
    return kEntryPoint;
}

bool TestPlatform::SystemLibraryLoaded() const {
    return state_->fake.Libraries().LoadedCount(kLibrary) > 0;
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
    // The in-memory machine listens where it is told to.
    const TcpListener listener{49152, 4242};
    std::vector<TcpListener> listeners;
    (void)state_->fake.System().ListTcpListeners(listeners);
    listeners.push_back(listener);
    state_->fake.System().SetTcpListeners(std::move(listeners));
    return listener;
}

}  // namespace tolva::platform::testing

#include "test_platform.h"

#include <cstdint>
#include <cstdlib>

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

}  // namespace tolva::platform::testing

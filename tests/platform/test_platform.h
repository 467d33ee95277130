#pragma once
// What the contract tests run against: on Linux the host implementations with the in-memory
// registry and message boxes, on Windows the real services. Each instance has its own scratch
// folder and registry key, removed again when it goes.

#include <memory>
#include <string>

#include "platform/platform.h"

namespace tolva::platform::testing {

class TestPlatform {
public:
    TestPlatform();
    ~TestPlatform();
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    Platform& Services();
    // An empty folder, with a trailing backslash.
    const std::string& Scratch() const;
    // A key under RegistryRoot::kCurrentUser that does not exist yet.
    const std::string& RegistryKey() const;

    // Sets the file's read-only attribute, which the FileSystem interface can only clear.
    void MakeReadOnly(const std::string& path);
    // Has the next message box answered with that button, as a user would press it.
    void AnswerNextMessageBox(DialogResult answer);

    // A library every machine has, an entry point it exports, and a Windows path that holds none.
    std::string SystemLibrary() const;
    std::string SystemLibraryEntryPoint() const;
    // A copy of the server's automation library (the stand-in) that Automation::RegisterServer
    // takes, in the scratch folder.
    std::string AutomationLibrary() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tolva::platform::testing

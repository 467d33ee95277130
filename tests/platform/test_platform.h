#pragma once
// What the contract tests run against: on Linux the host implementations with the in-memory
// registry and message boxes, or the in-memory platform; on Windows the real services. Each
// instance has its own scratch folder and registry key (under HKEY_CURRENT_USER and, in both views,
// HKEY_LOCAL_MACHINE), removed again when it goes.

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
    // A key below "Software\" that does not exist yet.
    const std::string& RegistryKey() const;
    // Whether HKEY_LOCAL_MACHINE\Software differs between the two registry views (64-bit Windows).
    bool RegistryHasTwoViews() const;
    // Whether the file system keeps the rules of Windows' own: names compare without regard to
    // case, and open files are shared as they were opened. Linux's files do not.
    bool FilesFollowWindowsRules() const;
    // Whether the files are on the machine's disk, where the code of a loaded library finds them.
    bool FilesAreOnDisk() const;

    // Sets the file's read-only attribute, which the FileSystem interface can only clear.
    void MakeReadOnly(const std::string& path);
    // Makes link a junction or symbolic link to the folder target; false where the system cannot.
    bool MakeFolderLink(const std::string& link, const std::string& target);
    // Has the next message box answered with that button, as a user would press it.
    void AnswerNextMessageBox(DialogResult answer);

    // A library every machine has, which this process has not loaded, and an entry point it
    // exports.
    std::string SystemLibrary() const;
    std::string SystemLibraryEntryPoint() const;
    bool SystemLibraryLoaded() const;
    // A copy of the server's automation library (the stand-in) that Automation::RegisterServer
    // takes, in the scratch folder.
    std::string AutomationLibrary() const;

    // Letters and digits no other test run of the machine uses, for names of machine-wide things
    // (services, windows, pipes).
    std::string UniqueName() const;
    // An executable that runs as a Windows service until it is stopped.
    std::string ServiceProgram();
    // A program that runs until it is ended, in Scratch(); the only one of its name.
    std::string LongRunningProgram();
    // A top-level window of another thread or program. Its procedure answers message 1280 with
    // wParam + lParam; with ignoreClose it keeps its window on the close message.
    WindowHandle OpenWindow(const std::string& className, const std::string& caption,
                            bool ignoreClose);
    // The window's program stops answering messages for that long (in memory: for good).
    void HangWindow(WindowHandle window, uint32_t milliseconds);
    // Serves one connection on the pipe: takes the 20 bytes the client writes, answers with reply
    // and closes.
    void ServePipeOnce(const std::string& pipePath, const std::string& reply);
    // What the client wrote on that connection, once the exchange is over.
    std::string PipeReceived();
    // A served pipe whose every instance is taken.
    void HoldBusyPipe(const std::string& pipePath);
    // A TCP port this process listens on, on the loopback address, until the instance goes; with
    // the id of the process that holds it as the system names it.
    TcpListener ListenOnLoopback();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tolva::platform::testing

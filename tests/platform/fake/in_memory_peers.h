#pragma once
// The other programs a contract test talks to where the machine's windows, pipes and processes
// are in memory: shared by the test platforms of the in-memory and the host bundle.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/fake/fake_pipes.h"
#include "platform/fake/fake_windows.h"
#include "platform/file_system.h"

namespace tolva::platform::testing {

class InMemoryPeers {
public:
    InMemoryPeers(FileSystem& files, FakeWindows& windows, FakePipes& pipes)
        : files_(files), windows_(windows), pipes_(pipes) {}

    std::string LongRunningProgram(const std::string& scratch) {
        std::string path = scratch + "runner.exe";
        if (!files_.WriteWholeFile(path, "MZ")) {
            std::abort();
        }
        return path;
    }

    WindowHandle OpenWindow(const std::string& className, const std::string& caption,
                            bool ignoreClose) {
        WindowHandle window = windows_.Open(className, caption);
        if (ignoreClose) {
            windows_.IgnoreClose(window);
        }
        windows_.SetProcedure(window, [](uint32_t message, uintptr_t wParam, intptr_t lParam) {
            return message == 1280 ? static_cast<intptr_t>(wParam) + lParam : 0;
        });
        return window;
    }

    void HangWindow(WindowHandle window) { windows_.StopAnswering(window); }

    void ServePipeOnce(const std::string& pipePath, const std::string& reply) {
        FakePipeServer server;
        server.reply = [this, reply](const std::string& written) {
            received_ = written;
            return reply;
        };
        pipes_.Serve(pipePath, server);
    }

    const std::string& PipeReceived() const { return received_; }

    void HoldBusyPipe(const std::string& pipePath) {
        pipes_.Serve(pipePath);
        pipes_.SetBusy(pipePath, true);
    }

private:
    FileSystem& files_;
    FakeWindows& windows_;
    FakePipes& pipes_;
    std::string received_;
};

}  // namespace tolva::platform::testing

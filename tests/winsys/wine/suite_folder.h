#pragma once
// The suite as a Wine scenario installs it: the stand-ins of the server programs and COM libraries
// copied into a folder with a blank in its name, what they logged read back, and the check that
// every program a test started has ended.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tolva::winsys::testing {

class SuiteFolder {
public:
    static constexpr char kFolder[] = "C:\\Tolva Mail Server\\";

    explicit SuiteFolder(platform::Platform& platform);

    // Copies the stand-ins in, with a settings.cfg whose ControlHttpPort is free, and no
    // standin.ini; logs of earlier tests are removed.
    void Install();
    void Remove();
    // The misbehaviour the stand-ins read when they start.
    void WriteStandinSettings(const std::string& text);
    uint16_t HttpPort() const { return httpPort_; }

    // The texts of the stand-in's log lines, without their time stamps.
    std::vector<std::string> LogLines(const std::string& serviceName) const;
    bool Logged(const std::string& serviceName, const std::string& text) const;
    // Polls every 50 ms until the condition holds or timeoutMs has passed.
    bool WaitFor(const std::function<bool()>& condition, uint32_t timeoutMs) const;
    // Base names of the stand-in processes still running.
    std::vector<std::string> RunningStandins() const;
    // A loopback port nobody listens on.
    static uint16_t FreePort(platform::Network& network);

private:
    platform::Platform& platform_;
    uint16_t httpPort_ = 0;
};

}  // namespace tolva::winsys::testing

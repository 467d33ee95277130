#pragma once
// The last step of a loopback peer that runs as a program of its own: it tells the test which ports
// it listens on, then serves until the test terminates it.

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>

#include <unistd.h>

namespace tolva::testing {

inline volatile std::sig_atomic_t peerStopRequested = 0;

// Writes the line ports to portFile, through a file renamed into place so that a reader polling for
// it never sees half a line; returns once SIGTERM or SIGINT arrives.
inline void PublishPortsAndServe(const std::string& portFile, const std::string& ports) {
    auto requestStop = [](int) { peerStopRequested = 1; };
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    const std::string temporary = portFile + ".new";
    {
        std::ofstream file(temporary);
        file << ports << "\n";
    }
    std::rename(temporary.c_str(), portFile.c_str());
    while (peerStopRequested == 0) {
        ::usleep(50 * 1000);
    }
}

}  // namespace tolva::testing

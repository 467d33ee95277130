// smtp_loopback_server PORT_FILE RECORD_FILE: the scripted SMTP server as a program of its own, for
// tests whose client runs elsewhere (the Windows build under Wine). Once it listens it writes its
// port and a loopback port where nothing listens to PORT_FILE, appends every command line and
// message it receives to RECORD_FILE, and runs until it is terminated.

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

#include "net/smtp_loopback_server.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PORT_FILE RECORD_FILE\n", argv[0]);
        return 64;
    }
    std::signal(SIGTERM, RequestStop);
    std::signal(SIGINT, RequestStop);
    std::ofstream record(argv[2], std::ios::binary | std::ios::app);
    tolva::testing::SmtpServerScript script;
    script.banner = "220-loopback\r\n220 ready\r\n";
    tolva::testing::SmtpLoopbackServer server(script, 0, [&record](std::string_view event) {
        record << event << "\n";
        record.flush();
    });
    {
        const std::string temporary = std::string(argv[1]) + ".new";
        std::ofstream port(temporary);
        port << server.port() << " " << tolva::testing::UnusedLoopbackPort() << "\n";
        port.close();
        std::rename(temporary.c_str(), argv[1]);
    }
    while (stopRequested == 0) {
        ::usleep(50 * 1000);
    }
    server.Stop();
    return 0;
}

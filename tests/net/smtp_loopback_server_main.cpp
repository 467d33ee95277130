// smtp_loopback_server PORT_FILE RECORD_FILE: the scripted SMTP server as a program of its own, for
// tests whose client runs elsewhere (the Windows build under Wine). Once it listens it writes its
// port and a loopback port where nothing listens to PORT_FILE, appends every command line and
// message it receives to RECORD_FILE, and runs until it is terminated.

#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "net/peer_program.h"
#include "net/smtp_loopback_server.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PORT_FILE RECORD_FILE\n", argv[0]);
        return 64;
    }
    std::ofstream record(argv[2], std::ios::binary | std::ios::app);
    tolva::testing::SmtpServerScript script;
    script.banner = "220-loopback\r\n220 ready\r\n";
    tolva::testing::SmtpLoopbackServer server(script, 0, [&record](std::string_view event) {
        record << event << "\n";
        record.flush();
    });
    tolva::testing::PublishPortsAndServe(
        argv[1],
        std::to_string(server.port()) + " " + std::to_string(tolva::testing::UnusedLoopbackPort()));
    server.Stop();
    return 0;
}

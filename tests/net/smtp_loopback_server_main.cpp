// smtp_loopback_server PORT_FILE RECORD_FILE [PORT]: the scripted SMTP server as a program of its
// own, for tests whose client runs elsewhere (the Windows build under Wine). It listens on PORT (25
// for a client that only knows the mail port; any free port without it), writes its port and a
// loopback port where nothing listens to PORT_FILE, appends every command line and message it
// receives to RECORD_FILE, and runs until it is terminated.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "net/peer_program.h"
#include "net/smtp_loopback_server.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s PORT_FILE RECORD_FILE [PORT]\n", argv[0]);
        return 64;
    }
    const int port = argc == 4 ? std::atoi(argv[3]) : 0;
    if (port < 0 || port > 65535) {
        std::fprintf(stderr, "%s: no port %s\n", argv[0], argv[3]);
        return 64;
    }
    std::ofstream record(argv[2], std::ios::binary | std::ios::app);
    tolva::testing::SmtpServerScript script;
    script.banner = "220-loopback\r\n220 ready\r\n";
    tolva::testing::SmtpLoopbackServer server(script, static_cast<uint16_t>(port),
                                              [&record](std::string_view event) {
                                                  record << event << "\n";
                                                  record.flush();
                                              });
    tolva::testing::PublishPortsAndServe(
        argv[1],
        std::to_string(server.port()) + " " + std::to_string(tolva::testing::UnusedLoopbackPort()));
    server.Stop();
    return 0;
}

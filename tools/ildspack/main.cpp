// ildspack: packs a folder into an ILDS archive, lists, verifies and extracts archives.

#include <cstdio>
#include <string>
#include <vector>

#include "ildspack/command_line.h"
#include "ildspack/commands.h"
#include "ildspack/native.h"

int main(int argc, char** argv) {
    using namespace tolva::ildspack;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto invocation = ParseCommandLine(args);
    if (!invocation) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    std::string error;
    const auto native = OpenNativeFiles(error);
    if (!native) {
        std::fprintf(stderr, "ildspack: %s\n", error.c_str());
        return kExitUnreadable;
    }
    return RunCommand(*native, *invocation);
}

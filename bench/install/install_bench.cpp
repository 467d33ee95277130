// Helper of bench/install/run, on the Linux side of the Wine runs:
//   install_bench grow STAGE                  grows the demo's archive folders to a server's scale
//   install_bench watch OUT PREFIX PROGRAM SERVICE LOG...
//                                             watches one installation (see process_watch.h)
//   install_bench report RUN...               prints the figures of the runs' folders, each with
//                                             watch.txt and floor.txt

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "grow_distribution.h"
#include "install_report.h"
#include "process_watch.h"

namespace {

using namespace tolva::bench;

int Grow(const std::string& stage) {
    const GrownStats grown = GrowDistribution(stage);
    std::printf("added %llu files, %.1f MB\n", static_cast<unsigned long long>(grown.files),
                double(grown.bytes) / 1e6);
    return 0;
}

int Watch(const std::vector<std::string>& args) {
    WatchOptions options;
    options.prefix = args[1];
    options.program = args[2];
    options.service = args[3];
    options.logFiles.assign(args.begin() + 4, args.end());
    const WatchResult watched = WatchInstallation(options);
    std::ofstream out(args[0]);
    SaveWatch(watched, out);
    return watched.programEndedMs >= 0 ? 0 : 1;
}

int Report(const std::vector<std::string>& folders) {
    std::vector<RunFigures> runs;
    for (const std::string& folder : folders) {
        WatchResult watched;
        FloorTimes floor;
        std::ifstream watchFile(folder + "/watch.txt");
        std::ifstream floorFile(folder + "/floor.txt");
        if (!LoadWatch(watchFile, watched) || !LoadFloor(floorFile, floor)) {
            std::cerr << "install_bench: no complete figures in " << folder << "\n";
            continue;
        }
        runs.push_back(FiguresOfRun(watched, floor));
    }
    return PrintReport(runs, std::cout) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "grow") {
        return Grow(args[1]);
    }
    if (args.size() >= 6 && args[0] == "watch") {
        return Watch({args.begin() + 1, args.end()});
    }
    if (args.size() >= 2 && args[0] == "report") {
        return Report({args.begin() + 1, args.end()});
    }
    std::cerr << "usage: install_bench grow STAGE | watch OUT PREFIX PROGRAM SERVICE LOG... | "
                 "report RUN...\n";
    return 64;
}

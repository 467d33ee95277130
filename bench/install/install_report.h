#pragma once
// The install benchmark's figures: each step's time from the setup log's lines as they appeared,
// the fixed waits apart, and the ratio of the rest to the floor measured in the same run.

#include <iosfwd>
#include <string>
#include <vector>

#include "process_watch.h"

namespace tolva::bench {

struct FloorTimes {
    double extractMs = 0;  // ildspack extracting every archive the installation unpacks
    double copyMs = 0;     // a plain copy of the extracted tree
    double startupMs = 0;  // one Wine program's start, taken off each figure above
    std::vector<std::pair<std::string, double>> archives;  // extractMs archive by archive
};

struct RunFigures {
    bool complete = false;  // the log went from its start line to "Finished"
    std::vector<std::pair<std::string, double>> work;   // steps that copy, unpack, configure
    std::vector<std::pair<std::string, double>> waits;  // service stops and starts, pauses, mail
    double totalMs = 0;
    double workMs = 0;
    double waitMs = 0;
    FloorTimes floor;
    long peakWorkingSetKiB = 0;
};

RunFigures FiguresOfRun(const WatchResult& watched, const FloorTimes& floor);

// Writes what the watch saw, and reads it back.
void SaveWatch(const WatchResult& watched, std::ostream& out);
bool LoadWatch(std::istream& in, WatchResult& watched);
bool LoadFloor(std::istream& in, FloorTimes& floor);

// Prints each run and the medians; false when no run is complete.
bool PrintReport(const std::vector<RunFigures>& runs, std::ostream& out);

}  // namespace tolva::bench

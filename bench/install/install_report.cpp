#include "install_report.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <map>
#include <ostream>
#include <sstream>

namespace tolva::bench {

namespace {

// The log lines that bound the steps of a new installation, by the text they begin with.
struct Mark {
    const char* key;
    const char* prefix;
};
constexpr Mark kMarks[] = {
    {"started", "Started "},
    {"checking", "Checking running services"},
    {"stopped", "Services stopped"},
    {"stopped", "Error: Services could not be stopped"},
    {"extracted", "Data file extracted to "},
    {"copying", "Copying files..."},
    {"copied", "Copying files done"},
    {"installing", "Installing services"},
    {"deleted", "Extracted data deleted "},
    {"starting", "Starting services"},
    {"finished", "Finished"},
};

// The message of a log line, without its time stamp "yyyy-mm-dd hh:nn:ss ".
std::string Message(const std::string& line) {
    return line.size() > 20 ? line.substr(20) : std::string();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

std::string Seconds(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%7.2f s", ms / 1000);
    return text;
}

}  // namespace

RunFigures FiguresOfRun(const WatchResult& watched, const FloorTimes& floor) {
    RunFigures figures;
    figures.floor = floor;
    figures.peakWorkingSetKiB = watched.peakWorkingSetKiB;
    std::map<std::string, double> at;
    for (const LoggedLine& line : watched.lines) {
        const std::string message = Message(line.text);
        for (const Mark& mark : kMarks) {
            if (message.rfind(mark.prefix, 0) == 0) {
                if (std::string(mark.key) == "started") {
                    at.clear();  // the log is appended to across runs: the last run counts
                }
                at.emplace(mark.key, line.ms);
            }
        }
    }
    for (const char* key : {"started", "checking", "stopped", "extracted", "copying", "copied",
                            "installing", "deleted", "starting", "finished"}) {
        if (!at.count(key)) {
            return figures;
        }
    }
    // The services are started once the last of them runs; the extraction folder is deleted after.
    double servicesUp = at["installing"];
    if (watched.serviceSeenMs > at["installing"] && watched.serviceSeenMs < at["deleted"]) {
        servicesUp = watched.serviceSeenMs;
    }
    auto span = [&](const char* from, const char* to) { return at[to] - at[from]; };
    figures.work = {
        {"start line to service check", span("started", "checking")},
        {"extracting setup.dat", span("stopped", "extracted")},
        {"deploying files and archives", span("extracted", "copied")},
        {"new installation's settings, shortcuts, registry", span("copied", "installing")},
        {"deleting the extraction folder", at["deleted"] - servicesUp},
    };
    figures.waits = {
        {"stopping services (two 1.5 s settles)", span("checking", "stopped")},
        {"creating, registering, starting services", servicesUp - at["installing"]},
        {"2 s pause and notification mail", span("deleted", "starting")},
        {"checking the started services", span("starting", "finished")},
    };
    for (const auto& [name, ms] : figures.work) {
        figures.workMs += ms;
    }
    for (const auto& [name, ms] : figures.waits) {
        figures.waitMs += ms;
    }
    figures.totalMs = span("started", "finished");
    figures.complete = true;
    return figures;
}

void SaveWatch(const WatchResult& watched, std::ostream& out) {
    out << "program_seen " << watched.programSeenMs << "\n"
        << "program_ended " << watched.programEndedMs << "\n"
        << "service_seen " << watched.serviceSeenMs << "\n"
        << "peak_kib " << watched.peakWorkingSetKiB << "\n";
    for (const LoggedLine& line : watched.lines) {
        out << "line " << line.ms << " " << line.text << "\n";
    }
}

bool LoadWatch(std::istream& in, WatchResult& watched) {
    std::string key;
    while (in >> key) {
        if (key == "line") {
            LoggedLine line;
            in >> line.ms;
            in.get();
            std::getline(in, line.text);
            watched.lines.push_back(line);
        } else if (key == "program_seen") {
            in >> watched.programSeenMs;
        } else if (key == "program_ended") {
            in >> watched.programEndedMs;
        } else if (key == "service_seen") {
            in >> watched.serviceSeenMs;
        } else if (key == "peak_kib") {
            in >> watched.peakWorkingSetKiB;
        } else {
            return false;
        }
    }
    return true;
}

bool LoadFloor(std::istream& in, FloorTimes& floor) {
    std::string key;
    double value = 0;
    while (in >> key >> value) {
        if (key == "extract_ms") {
            floor.extractMs = value;
        } else if (key == "copy_ms") {
            floor.copyMs = value;
        } else if (key == "startup_ms") {
            floor.startupMs = value;
        } else if (key.rfind("extract_ms.", 0) == 0) {
            floor.archives.emplace_back(key.substr(11), value);
        }
    }
    return floor.extractMs > 0;
}

bool PrintReport(const std::vector<RunFigures>& runs, std::ostream& out) {
    std::vector<const RunFigures*> complete;
    for (const RunFigures& run : runs) {
        if (run.complete) {
            complete.push_back(&run);
        }
    }
    if (complete.empty()) {
        out << "no run reached \"Finished\" in its setup log\n";
        return false;
    }
    auto median = [&](auto value) {
        std::vector<double> values;
        for (const RunFigures* run : complete) {
            values.push_back(value(*run));
        }
        return Median(values);
    };
    out << "runs: " << complete.size() << " complete of " << runs.size()
        << "; medians, each run's floor measured in that run\n";
    const double work = median([](const RunFigures& r) { return r.workMs; });
    const double extract = median([](const RunFigures& r) { return r.floor.extractMs; });
    const double copy = median([](const RunFigures& r) { return r.floor.copyMs; });
    out << "  install sequence, start line to Finished  "
        << Seconds(median([](const RunFigures& r) { return r.totalMs; })) << "\n";
    out << "  of it fixed waits, reported apart         "
        << Seconds(median([](const RunFigures& r) { return r.waitMs; })) << "\n";
    out << "  of it the installer's own work            " << Seconds(work) << "\n";
    out << "  floor: ildspack extracting the archives   " << Seconds(extract) << "\n";
    out << "  plain copy (xcopy) of the extracted tree  " << Seconds(copy) << "\n";
    out << "  Wine program start, taken off each floor  "
        << Seconds(median([](const RunFigures& r) { return r.floor.startupMs; })) << "\n";
    char line[160];
    std::snprintf(line, sizeof line,
                  "  ratio: install work / extraction floor    %7.2f (goal: at most 1.25)\n",
                  median([](const RunFigures& r) { return r.workMs / r.floor.extractMs; }));
    out << line;
    std::snprintf(line, sizeof line, "  ratio: plain copy / extraction floor      %7.2f\n",
                  median([](const RunFigures& r) { return r.floor.copyMs / r.floor.extractMs; }));
    out << line;
    std::snprintf(line, sizeof line,
                  "  peak working set of setup.exe             %7.1f MiB (goal: under 64)\n",
                  median([](const RunFigures& r) { return double(r.peakWorkingSetKiB); }) / 1024);
    out << line;
    out << "  the installer's work by step (share of the work):\n";
    for (size_t step = 0; step < complete.front()->work.size(); ++step) {
        const double ms = median([&](const RunFigures& r) { return r.work[step].second; });
        std::snprintf(line, sizeof line, "    %-50s %s %5.1f %%\n",
                      complete.front()->work[step].first.c_str(), Seconds(ms).c_str(),
                      work > 0 ? 100 * ms / work : 0.0);
        out << line;
    }
    out << "  the floor by archive:\n";
    for (size_t archive = 0; archive < complete.front()->floor.archives.size(); ++archive) {
        const double ms = median([&](const RunFigures& r) {
            return archive < r.floor.archives.size() ? r.floor.archives[archive].second : 0.0;
        });
        std::snprintf(line, sizeof line, "    %-50s %s\n",
                      complete.front()->floor.archives[archive].first.c_str(), Seconds(ms).c_str());
        out << line;
    }
    out << "  fixed waits:\n";
    for (size_t step = 0; step < complete.front()->waits.size(); ++step) {
        const double ms = median([&](const RunFigures& r) { return r.waits[step].second; });
        std::snprintf(line, sizeof line, "    %-50s %s\n",
                      complete.front()->waits[step].first.c_str(), Seconds(ms).c_str());
        out << line;
    }
    return true;
}

}  // namespace tolva::bench

// Extraction benchmark: ildspack against unzip, bsdtar and 7z on the same tree, and against the
// floor of a pure in-memory inflate of the same entries; then the peak memory of extracting one 1
// GiB entry.
//
// usage: archive_bench --ildspack PATH --work FOLDER [--runs N] [--no-large]

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "archive/archive_format.h"
#include "archive/byte_order.h"
#include "bench_tree.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct ChildRun {
    bool ok = false;
    double seconds = 0;
    long peakRssKiB = 0;
};

// A plain fork, not posix_spawn: a child that shares our memory until exec would report our peak as
// its own. Whatever the bench holds when it forks still counts, so the large-entry runs come when
// it holds little.
ChildRun RunChild(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& arg : command) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    ChildRun run;
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        return run;
    }
    if (pid == 0) {
        // The tools' own chatter would only clutter the report.
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 1);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakRssKiB = usage.ru_maxrss;
    return run;
}

bool Shell(const std::string& command) {
    return RunChild({"sh", "-c", command}).ok;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The stored zlib streams of an unencrypted version-3 archive written by ildspack.
std::vector<std::string> StoredStreams(const fs::path& archiveFile) {
    using namespace tolva::archive;
    const std::string archive = ReadFile(archiveFile);
    auto* bytes = reinterpret_cast<const uint8_t*>(archive.data());
    std::vector<std::string> streams;
    size_t at = kFileHeaderSize + LoadLittleEndian32(bytes + 4);
    while (at < archive.size() && bytes[at] != 0) {
        at += 1 + bytes[at] + kExtraBlockSize;
        const uint32_t size = LoadLittleEndian32(bytes + at);
        at += 4;
        streams.push_back(archive.substr(at, size));
        at += size;
    }
    return streams;
}

double InflateAll(const std::vector<std::string>& streams, std::vector<uint8_t>& buffer) {
    const auto start = Clock::now();
    for (const std::string& stream : streams) {
        z_stream z{};
        inflateInit(&z);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
        z.avail_in = uInt(stream.size());
        int status = Z_OK;
        while (status == Z_OK) {
            z.next_out = buffer.data();
            z.avail_out = uInt(buffer.size());
            status = inflate(&z, Z_NO_FLUSH);
        }
        inflateEnd(&z);
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Each round runs every tool and the in-memory inflate once, so that a change in the machine's load
// touches all of them alike. The stored streams are held only here: the bench's own memory must be
// small again afterwards.
bool CompareExtraction(const std::vector<std::pair<std::string, std::vector<std::string>>>& tools,
                       const fs::path& ild, const fs::path& out, int runs) {
    const std::vector<std::string> streams = StoredStreams(ild);
    std::vector<uint8_t> buffer(256 * 1024);
    std::map<std::string, std::vector<double>> times;
    std::vector<double> floorTimes;
    for (int run = 0; run < runs; ++run) {
        for (const auto& [name, command] : tools) {
            fs::remove_all(out);
            fs::create_directories(out);
            const ChildRun timed = RunChild(command);
            if (!timed.ok) {
                std::fprintf(stderr, "%s failed\n", name.c_str());
                return false;
            }
            times[name].push_back(timed.seconds);
        }
        floorTimes.push_back(InflateAll(streams, buffer));
    }
    fs::remove_all(out);

    const double floor = Median(floorTimes);
    const double ours = Median(times[tools.front().first]);
    std::printf("\nextraction of %zu entries, median of %d runs:\n", streams.size(), runs);
    for (const auto& [name, command] : tools) {
        const double median = Median(times[name]);
        if (name == tools.front().first) {
            std::printf("  %-18s %7.3f s\n", name.c_str(), median);
        } else {
            std::printf("  %-18s %7.3f s   ours/peer %.2f\n", name.c_str(), median, ours / median);
        }
    }
    std::printf("  %-18s %7.3f s   ours/floor %.2f\n", "inflate in memory", floor, ours / floor);
    return true;
}

}  // namespace

// Peak memory of extracting one 1 GiB entry, plain and encrypted. Runs first, while the bench
// itself holds little: a forked child starts out with the parent's resident memory counted as its
// own.
bool MeasureLargeEntry(const std::string& ildspack, const fs::path& work) {
    const fs::path big = work / "large" / "manual.txt";
    tolva::bench::WriteLargeText(big, uint64_t(1) << 30);
    std::printf("\none 1 GiB entry:\n");
    for (const std::string password : {"", "benchmark password"}) {
        const fs::path bigArchive = work / "large.ild";
        std::vector<std::string> pack = {ildspack, "pack", bigArchive.string(),
                                         big.parent_path().string(), "--quiet"};
        std::vector<std::string> extract = {ildspack, "extract", bigArchive.string(),
                                            (work / "large-out").string(), "--quiet"};
        if (!password.empty()) {
            for (auto* command : {&pack, &extract}) {
                command->push_back("--password");
                command->push_back(password);
            }
        }
        if (!RunChild(pack).ok) {
            return false;
        }
        const ChildRun extracted = RunChild(extract);
        if (!extracted.ok) {
            return false;
        }
        std::printf("  %-10s extract %.2f s, peak RSS %.1f MiB\n",
                    password.empty() ? "plain" : "encrypted", extracted.seconds,
                    double(extracted.peakRssKiB) / 1024.0);
        fs::remove_all(work / "large-out");
        fs::remove(bigArchive);
    }
    fs::remove_all(big.parent_path());
    return true;
}

int main(int argc, char** argv) {
    std::string ildspack;
    fs::path work;
    int runs = 5;
    bool large = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--ildspack" && i + 1 < argc) {
            ildspack = argv[++i];
        } else if (arg == "--work" && i + 1 < argc) {
            work = argv[++i];
        } else if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--no-large") {
            large = false;
        } else {
            std::fprintf(
                stderr,
                "usage: archive_bench --ildspack PATH --work FOLDER [--runs N] [--no-large]\n");
            return 64;
        }
    }
    if (ildspack.empty() || work.empty()) {
        return 64;
    }
    // Each figure as soon as it is known, also into a log file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    fs::remove_all(work);
    fs::create_directories(work);
    if (large && !MeasureLargeEntry(ildspack, work)) {
        return 1;
    }

    const fs::path tree = work / "tree", ild = work / "tree.ild", zip = work / "tree.zip",
                   out = work / "out";

    const tolva::bench::TreeStats stats = tolva::bench::WriteBenchTree(tree);
    std::printf("tree: %llu files, %.1f MB\n", (unsigned long long)stats.files,
                double(stats.bytes) / 1e6);
    const ChildRun packed = RunChild({ildspack, "pack", ild.string(), tree.string(), "--quiet"});
    if (!packed.ok ||
        !Shell("cd '" + tree.string() + "' && zip -6 -r -q '" + zip.string() + "' .")) {
        std::fprintf(stderr, "packing failed\n");
        return 1;
    }
    std::printf("ildspack pack: %.2f s, archive %.1f MB; zip -6: %.1f MB\n", packed.seconds,
                double(fs::file_size(ild)) / 1e6, double(fs::file_size(zip)) / 1e6);

    // Our output must be the tree itself before its time means anything.
    RunChild({ildspack, "extract", ild.string(), out.string(), "--quiet"});
    if (!Shell("diff -r -q '" + tree.string() + "' '" + out.string() + "'")) {
        std::fprintf(stderr, "ildspack extract did not reproduce the tree\n");
        return 1;
    }

    const std::vector<std::pair<std::string, std::vector<std::string>>> tools = {
        {"ildspack extract", {ildspack, "extract", ild.string(), out.string(), "--quiet"}},
        {"unzip -o -q", {"unzip", "-o", "-q", zip.string(), "-d", out.string()}},
        {"bsdtar -xf", {"bsdtar", "-xf", zip.string(), "-C", out.string()}},
        {"7z x", {"7z", "x", "-y", "-bso0", "-bsp0", "-o" + out.string(), zip.string()}},
    };
    if (!CompareExtraction(tools, ild, out, runs)) {
        return 1;
    }

    fs::remove_all(work);
    return 0;
}

#include "bench_tree.h"

#include "bench_content.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace tolva::bench {

namespace {

void WriteFile(const std::filesystem::path& file, const std::string& content, TreeStats& stats) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(content.data(), std::streamsize(content.size()));
    ++stats.files;
    stats.bytes += content.size();
}

}  // namespace

TreeStats WriteBenchTree(const std::filesystem::path& folder, uint64_t seed) {
    TreeStats stats;
    TextMaker text(seed);
    Random& random = text.random();
    char name[64];
    for (size_t page = 0; page < 5000; ++page) {
        std::snprintf(name, sizeof name, "docs/html/section%02zu/page_%04zu.html", page / 100,
                      page);
        WriteFile(folder / name, text.Html(2000 + random.Below(18000), page), stats);
    }
    for (size_t i = 0; i < 1000; ++i) {
        std::snprintf(name, sizeof name, "docs/text/note_%04zu.txt", i);
        WriteFile(folder / name, text.Text(500 + random.Below(8000)), stats);
    }
    static const char* kPrograms[] = {"tolvasmtp.exe",  "tolvapop.exe", "tolvactl.exe",
                                      "tolvaim.exe",    "tolvagw.exe",  "api.dll",
                                      "corvanecom.dll", "db.dll",       "ldap.dll",
                                      "sip.dll",        "filter.dll",   "webhost.dll"};
    for (const char* program : kPrograms) {
        WriteFile(folder / "bin" / program,
                  ProgramFile(random, text, 2'000'000 + random.Below(2'000'000)), stats);
    }
    for (const char* media :
         {"media/splash.jpg", "media/intro.mp4", "media/logo.png", "media/sounds.zip"}) {
        WriteFile(folder / media, MediaFile(random, 8'000'000 + random.Below(4'000'000)), stats);
    }
    for (int i = 0; i < 4; ++i) {
        WriteFile(folder / ("manuals/manual_" + std::to_string(i) + ".txt"), text.Text(22'000'000),
                  stats);
    }
    return stats;
}

void WriteLargeText(const std::filesystem::path& file, uint64_t size, uint64_t seed) {
    TextMaker text(seed);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    std::string chunk;
    uint64_t written = 0;
    while (written < size) {
        chunk = text.Text(1 << 20);
        if (chunk.size() > size - written) {
            chunk.resize(size_t(size - written));
        }
        out.write(chunk.data(), std::streamsize(chunk.size()));
        written += chunk.size();
    }
}

}  // namespace tolva::bench

#pragma once
// A deterministic, realistic distribution tree for the extraction benchmark.

#include <cstdint>
#include <filesystem>

namespace tolva::bench {

struct TreeStats {
    uint64_t files = 0;
    uint64_t bytes = 0;
};

// About 220 MB: thousands of small HTML and text files, a dozen partly compressible program files,
// a few already compressed media files and large text manuals. The same seed always gives the same
// bytes.
TreeStats WriteBenchTree(const std::filesystem::path& folder, uint64_t seed = 1);

// One large text file of the given size, in the style of the manuals.
void WriteLargeText(const std::filesystem::path& file, uint64_t size, uint64_t seed = 2);

}  // namespace tolva::bench

#pragma once
// Grows the demo distribution's archive folders to the scale of a real server's distribution.

#include <cstdint>
#include <filesystem>

namespace tolva::bench {

struct GrownStats {
    uint64_t files = 0;
    uint64_t bytes = 0;
};

// Adds to the archive folders under stage (one folder per archive, named like the archive) web
// trees of thousands of small PHP, HTML, script and image files in several languages, documents
// and dictionaries of several MB, and one data file of 200 MB in setup.dat. Deterministic.
GrownStats GrowDistribution(const std::filesystem::path& stage);

}  // namespace tolva::bench

#pragma once
// A one-line progress bar on the standard error stream, shown only on a terminal and only once a
// run has lasted long enough to be worth watching.

#include <chrono>
#include <cstdint>

namespace tolva::ildspack {

class ProgressBar {
public:
    explicit ProgressBar(bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void Update(uint64_t done, uint64_t total);
    // Clears the bar so that the next line starts clean.
    void Clear();

private:
    using Clock = std::chrono::steady_clock;

    bool enabled_;
    bool shown_ = false;
    Clock::time_point start_;
    Clock::time_point lastDrawn_;
};

}  // namespace tolva::ildspack

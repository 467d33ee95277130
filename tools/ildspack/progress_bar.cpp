#include "ildspack/progress_bar.h"

#include <cstdio>

namespace tolva::ildspack {

namespace {

constexpr auto kDelayBeforeShowing = std::chrono::milliseconds(700);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kBarWidth = 40;

}  // namespace

ProgressBar::ProgressBar(bool enabled) : enabled_(enabled), start_(Clock::now()) {}

ProgressBar::~ProgressBar() {
    Clear();
}

void ProgressBar::Update(uint64_t done, uint64_t total) {
    if (!enabled_ || total == 0) {
        return;
    }
    const auto now = Clock::now();
    if (now - start_ < kDelayBeforeShowing || (shown_ && now - lastDrawn_ < kRedrawInterval)) {
        return;
    }
    lastDrawn_ = now;
    shown_ = true;
    const double fraction = done >= total ? 1.0 : double(done) / double(total);
    const int filled = int(fraction * kBarWidth);
    char bar[kBarWidth + 1];
    for (int i = 0; i < kBarWidth; ++i) {
        bar[i] = i < filled ? '#' : '.';
    }
    bar[kBarWidth] = '\0';
    std::fprintf(stderr, "\r[%s] %3d%%  %.1f / %.1f MiB", bar, int(fraction * 100),
                 double(done) / 1048576.0, double(total) / 1048576.0);
    std::fflush(stderr);
}

void ProgressBar::Clear() {
    if (!shown_) {
        return;
    }
    std::fprintf(stderr, "\r%*s\r", kBarWidth + 40, "");
    std::fflush(stderr);
    shown_ = false;
}

}  // namespace tolva::ildspack
